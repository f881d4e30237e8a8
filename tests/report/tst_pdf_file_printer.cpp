// The report on the PDF-file printer of the headless calculator: the same places on the page
// as on paper.

#include "calculate.h"
#include "calculation_report.h"
#include "pdf_file_printer.h"
#include "report_input.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A word of the page and the right edge and top of its box, in cm from the printable
// area's corner.
struct Word
{
    QString text;
    double right = 0;
    double top = 0;
};

QList<Word> readWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    pdftotext.waitForFinished(10000);
    static const QRegularExpression word(
        R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    const double margin = platform::PagePrinter::OfficeMarginMm / 10;
    QList<Word> words;
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const double top = m.captured(1).toDouble() * 2.54 / 72 - margin;
        const double right = m.captured(2).toDouble() * 2.54 / 72 - margin;
        words.append({m.captured(3), right, top});
    }
    return words;
}

// Prints the design values' report to `file`; false when the printer gave up.
bool printReport(const QString &file)
{
    const engine::CalculationInput input;
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state, '.');
    report::ReportInput page = report::makeReportInput(input, state, result);
    page.logo = QImage(30, 10, QImage::Format_RGB32);
    page.printedAt = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    platform::PdfFilePrinter printer(file);
    return report::printCalculationReport(page, printer, nullptr);
}

} // namespace

class TestPdfFilePrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // The places the paper page is checked at: the title's corner, and per row of the outdoor
    // table the height's right edge at 9 cm and the level's at 15 cm.
    void page()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("rapport.pdf");
        QVERIFY(printReport(file));
        const QList<Word> words = readWords(file);
        const auto find = [&](const QString &text) {
            return std::find_if(words.cbegin(), words.cend(), [&](const Word &w) { return w.text == text; });
        };
        const auto title = find("Berekeningsmethode");
        QVERIFY(title != words.cend());
        QVERIFY(qAbs(title->top - 1.2) < 0.1);
        const QStringList rows {"2.5 38.14", "5 44.17", "7.5 44.76", "10 41.72", "12.5 36.73"};
        for (const QString &row : rows) { // the height ends at 9 cm, the level on its row at 15 cm
            const QString level = row.section(' ', 1);
            const auto at = find(level);
            QVERIFY2(at != words.cend(), qPrintable(level));
            QVERIFY2(qAbs(at->right - 15.0) < 0.1, qPrintable(level));
            QCOMPARE((at - 1)->text, row.section(' ', 0, 0));
            QVERIFY2(qAbs((at - 1)->right - 9.0) < 0.1, qPrintable(level));
            QVERIFY2(qAbs((at - 1)->top - at->top) < 0.1, qPrintable(level));
        }
    }
};

QTEST_MAIN(TestPdfFilePrinter)
#include "tst_pdf_file_printer.moc"
