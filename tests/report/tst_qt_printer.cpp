#include "qt_printer.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double PointsPerCm = 72 / 2.54;
// A PDF file's printable area starts 10 points in from the paper's corner.
constexpr double MarginCm = 10 / PointsPerCm;

struct Word
{
    QString text;
    double left = 0; // cm from the printable area's corner
    double top = 0;
};

// The words of a PDF page as pdftotext sees them.
QList<Word> readWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    if (!pdftotext.waitForFinished(10000) || pdftotext.exitCode() != 0)
        return {};
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<Word> words;
    for (auto it = word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(3), m.captured(1).toDouble() / PointsPerCm - MarginCm,
                      m.captured(2).toDouble() / PointsPerCm - MarginCm});
    }
    return words;
}

Word find(const QList<Word> &words, const QString &text)
{
    for (const Word &word : words)
        if (word.text == text)
            return word;
    return {QString(), -100, -100};
}

} // namespace

// The Qt printer on a PDF file: where text lands on the page, how the print position
// moves, and that an abandoned page leaves no file behind.
class TestQtPrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void printPosition()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("positions.pdf");
        platform::QtPrinter printer(file);
        printer.setScaleMode(7);
        printer.setFontName("Arial");
        printer.setFontSize(10);

        printer.setCurrentX(2.0f);
        printer.setCurrentY(3.0f);
        printer.Print("Kop", false);
        QCOMPARE(printer.CurrentX(), 2.0f + printer.TextWidth("Kop"));
        QCOMPARE(printer.CurrentY(), 3.0f);
        printer.Print(" vervolg", true);
        const float lineHeight = printer.CurrentY() - 3.0f;
        QCOMPARE(printer.CurrentX(), 0.0f);
        QVERIFY2(lineHeight > 0.39f && lineHeight < 0.42f, qPrintable(QString::number(lineHeight)));

        printer.setCurrentY(6.0f);
        printer.Print("een\r\ntwee", true);
        QVERIFY(qAbs(printer.CurrentY() - (6.0f + 2 * lineHeight)) < 1e-5f);

        // Tab stops every 1.25 cm from the left edge of the printable area.
        printer.setCurrentX(0.5f);
        printer.setCurrentY(8.0f);
        printer.Print("a\tb", false);
        printer.setCurrentX(1.8f);
        printer.Print("c\td", true);

        printer.setFontSize(20);
        printer.setCurrentX(1.0f);
        printer.setCurrentY(10.0f);
        printer.Print("Groot", true);
        QVERIFY(qAbs(printer.CurrentY() - 10.0f - 2 * lineHeight) < 0.02f);
        printer.EndDoc();

        const QList<Word> words = readWords(file);
        QVERIFY(!words.isEmpty());
        const auto at = [&](const QString &text, double left, double top) {
            const Word word = find(words, text);
            QVERIFY2(qAbs(word.left - left) < 0.02 && qAbs(word.top - top) < 0.03,
                     qPrintable(QString("%1 at %2, %3").arg(text).arg(word.left).arg(word.top)));
        };
        at("Kop", 2.0, 3.0);
        at("een", 0.0, 6.0);
        at("twee", 0.0, 6.0 + lineHeight);
        at("b", 1.25, 8.0);
        at("d", 2.5, 8.0);
        at("Groot", 1.0, 10.0);
        QVERIFY(find(words, "vervolg").left > find(words, "Kop").left + 0.5);
    }

    void documentLifetime()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("page.pdf");
        {
            platform::QtPrinter printer(file);
            printer.EndDoc(); // nothing was printed: no document
            QVERIFY(!QFile::exists(file));
            printer.Print("weg", true);
            printer.KillDoc();
            printer.EndDoc();
        }
        QVERIFY(!QFile::exists(file));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

        platform::QtPrinter printer(file);
        printer.Print("blijft", true);
        QVERIFY(!QFile::exists(file)); // only a finished page is written
        printer.EndDoc();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"page.pdf"});
        QCOMPARE(printer.DeviceName(), "page.pdf");
        QCOMPARE(find(readWords(file), "blijft").text, "blijft");
    }

    void printerThatCannotStart()
    {
        platform::QtPrinter printer("/nonexistent-folder/page.pdf");
        QVERIFY_THROWS_EXCEPTION(platform::PrinterError, printer.Print("x", true));
        QVERIFY_THROWS_EXCEPTION(platform::PrinterError, printer.PaintPicture(QImage(), 1, 1, 1, 1));
        printer.KillDoc();
        printer.EndDoc();
    }
};

QTEST_MAIN(TestQtPrinter)
#include "tst_qt_printer.moc"
