#include "calculate.h"
#include "calculation_report.h"
#include "message_box.h"
#include "print_page_reader.h"
#include "recording_message_box.h"
#include "qt_printer.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include <cups/cups.h>

using print_page::Word;

namespace {

// The real modal box, as the window shows it.
class DialogMessageBox : public platform::MessageBox
{
public:
    int MsgBox(const QString &prompt, int, const QString &title) override
    {
        ++shown;
        QMessageBox::information(nullptr, title, prompt);
        return platform::vbOK;
    }
    int shown = 0;
};

bool runAdmin(const QString &program, const QStringList &arguments)
{
    QProcess process;
    if (geteuid() == 0)
        process.start(program, arguments);
    else
        process.start("sudo", QStringList{"-n", program} + arguments);
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

// Puts the print server into a failing state and back again, also when a check fails.
class PrinterTrouble
{
public:
    explicit PrinterTrouble(const QString &kind) : m_kind(kind)
    {
        if (kind == "queue stopped")
            ok = runAdmin("cupsdisable", {"PDF"});
        else if (kind == "queue rejecting")
            ok = runAdmin("cupsreject", {"PDF"});
        else if (kind == "no print server")
            cupsSetServer("/nonexistent/cups.sock"); // this thread only, as if cupsd were gone
    }
    bool ok = true;
    ~PrinterTrouble() { restore(); }
    void restore()
    {
        if (m_kind == "queue stopped")
            runAdmin("cupsenable", {"PDF"});
        else if (m_kind == "queue rejecting")
            runAdmin("cupsaccept", {"PDF"});
        else if (m_kind == "no print server")
            cupsSetServer(nullptr);
        m_kind.clear();
    }

private:
    QString m_kind;
};

const Word *findWord(const QList<Word> &words, const QString &text, double top = -1)
{
    for (const Word &word : words)
        if (word.text == text && (top < 0 || qAbs(word.top - top) < 0.01))
            return &word;
    return nullptr;
}

} // namespace

// "Print" on the real default printer, a cups-pdf queue: the page is read back from
// the PDF file it becomes; a failing printer gives no page and no message.
class TestPrintReport : public QObject
{
    Q_OBJECT

    engine::CalculationState m_state;
    report::ReportInput m_input;

    void calculateDefaults()
    {
        const engine::CalculationInput in;
        const engine::CalculationResult result = engine::Calculate(in, m_state, '.');
        m_input.state = &m_state;
        m_input.enteredWidth = in.B;
        m_input.heights = in.heights;
        for (size_t i = 0; i < result.texts.size(); ++i)
            m_input.levelTexts[i] = QString::fromStdString(result.texts[i]);
        QImage logo(300, 100, QImage::Format_RGB32);
        logo.fill(Qt::darkGreen);
        m_input.logo = logo;
        m_input.decimalSeparator = '.';
        m_input.printedAt = QDateTime::currentDateTime();
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QVERIFY2(!print_page::pdfDir().isEmpty(), "WARMTEGLOED_PDF_DIR is not set: run ./test");
        QVERIFY2(!QPrinterInfo::defaultPrinter().isNull(), "no default printer: run ./test");
        calculateDefaults();
    }

    void pageOnPaper()
    {
        const QSet<QString> before = print_page::pagesNow();
        platform::QtPrinter printer;
        DialogMessageBox box;
        QString boxText, boxTitle;
        bool pageBeforeBoxClosed = true;
        std::function<void()> closeBox = [&] {
            auto *dialog = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!dialog) {
                QTimer::singleShot(50, this, closeBox);
                return;
            }
            boxText = dialog->text();
            boxTitle = dialog->windowTitle();
            // The page waits for the box: nothing may have come out yet.
            pageBeforeBoxClosed = !print_page::waitForNewPage(before, 1000).isEmpty();
            dialog->accept();
        };
        QTimer::singleShot(50, this, closeBox);
        QVERIFY(report::printCalculationReport(m_input, printer, &box));

        QCOMPARE(box.shown, 1);
        QCOMPARE(boxTitle, "PRINTER MESSAGE");
        QCOMPARE(boxText, "Document geprint op PDF.");
        QVERIFY(!pageBeforeBoxClosed);
        const QString page = print_page::waitForNewPage(before, 15000);
        QVERIFY2(!page.isEmpty(), "no page in WARMTEGLOED_PDF_DIR");

        const QList<Word> words = print_page::readWords(page);
        const QStringList lines = print_page::readLines(words);
        // Positions are on the printable area, which starts at the printer's margins.
        const QRectF area = QPrinter(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution)
                                .pageLayout().paintRect(QPageLayout::Millimeter);
        const double left = area.left() / 10, top = area.top() / 10;

        const Word *title = findWord(words, "Berekeningsmethode");
        QVERIFY(title);
        // The top of a word is the font's ascent above its baseline, which the print
        // filters round a little differently.
        QVERIFY2(qAbs(title->left - (left + 0.5)) < 0.05 && qAbs(title->top - (top + 1.2)) < 0.1,
                 qPrintable(QString("title at %1, %2").arg(title->left - left).arg(title->top - top)));
        QVERIFY(lines.contains("Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003"));

        for (const QString &line : {
                 "Invoergegevens",
                 "De berekening wordt uitgevoerd voor een buitenopslag.",
                 "De breedte van de opslag bedraagt 10 m.",
                 "De diepte van de opslag bedraagt 10 m.",
                 "De hoogte van de opslag bedraagt 8 m.",
                 "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
                 "Het beoordelingspunt is gelegen op 5 m van de opslag (verplaatsing loodrecht op de gevel).",
                 "De berekening wordt uitgevoerd voor niet compact gestapeld hout.",
                 "Er is geen afscherming aanwezig.",
                 "Tussenresultaten",
                 "De berekende vlamhoogte bedraagt 24 m vanaf de onderzijde van de stapel.",
                 // the raised 2 is a line of its own
                 "De warmtestralingsflux vanuit de stapel bedraagt 78.6 kW per m , boven de stapel neemt de warmtestralingsflux af.",
                 "De berekende transmissie bedraagt 93.44%.",
                 "Berekeningsresultaten"})
            QVERIFY2(lines.contains(line), qPrintable("missing: " + QString(line)));

        // The five rows: heights ending at 9.0 cm, levels at 15.0 cm.
        const QStringList heights{"2.5", "5", "7.5", "10", "12.5"};
        const QStringList levels{"38.14", "44.17", "44.76", "41.72", "36.73"};
        int rows = 0;
        for (const Word &name : words) {
            if (name.text != "Beoordelingspunt" || qAbs(name.left - (left + 3.01)) > 0.05)
                continue;
            const Word *number = findWord(words, QString::number(rows + 1), name.top);
            QVERIFY2(number, qPrintable(QString("row %1").arg(rows + 1)));
            const Word *height = findWord(words, heights[rows], name.top);
            const Word *level = findWord(words, levels[rows], name.top);
            QVERIFY(height && level);
            QVERIFY2(qAbs(height->right - (left + 9.0)) < 0.1, qPrintable(QString::number(height->right - left)));
            QVERIFY2(qAbs(level->right - (left + 15.0)) < 0.1, qPrintable(QString::number(level->right - left)));
            ++rows;
        }
        QCOMPARE(rows, 5);

        // The unit's 2 stands smaller and higher than the "m" before it.
        const Word *unit = findWord(words, "Warmtestralingsniveau");
        QVERIFY(unit);
        const Word *two = nullptr;
        for (const Word &word : words)
            if (word.text == "2" && word.top < unit->top && word.top > unit->top - 0.3)
                two = &word;
        QVERIFY(two);
        QVERIFY(two->bottom - two->top < 0.8 * (unit->bottom - unit->top));
        QVERIFY(two->bottom < unit->bottom - 0.05);
    }

    void failingPrinter_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("queue stopped") << "queue stopped";
        QTest::newRow("queue rejecting") << "queue rejecting";
        QTest::newRow("no print server") << "no print server";
    }

    void failingPrinter()
    {
        QFETCH(QString, trouble);
        const QSet<QString> before = print_page::pagesNow();
        {
            PrinterTrouble failing(trouble);
            QVERIFY(failing.ok);
            platform::QtPrinter printer;
            RecordingMessageBox box; // answers at once should a box come up after all
            QVERIFY(!report::printCalculationReport(m_input, printer, &box));
            QCOMPARE(box.shown.size(), 0);
        }
        // Nothing was left waiting in the queue to come out once it runs again.
        QVERIFY(print_page::waitForNewPage(before, 2000).isEmpty());

        // And the next page prints as usual.
        platform::QtPrinter printer;
        QVERIFY(report::printCalculationReport(m_input, printer, nullptr));
        QVERIFY(!print_page::waitForNewPage(before, 15000).isEmpty());
    }
};

QTEST_MAIN(TestPrintReport)
#include "tst_print_report.moc"
