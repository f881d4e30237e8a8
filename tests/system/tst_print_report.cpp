#include "cw_num_edit.h"
#include "form1.h"
#include "qt_message_box.h"
#include "qt_printer.h"
#include "recording_message_box.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>
#include <unistd.h>

namespace {

struct Word
{
    QString text;
    double left, top, right, bottom; // cm from the paper's corner
};

QString pdfDir() { return qEnvironmentVariable("WARMTEGLOED_PDF_DIR"); }
QStringList pagesNow() { return QDir(pdfDir()).entryList({"*.pdf"}, QDir::Files); }

// The page cups-pdf files after `before`, once it stops growing; empty after the limit.
QString waitForNewPage(const QStringList &before, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (qint64 lastSize = -1; clock.elapsed() < timeoutMs; QTest::qWait(100)) {
        for (const QString &name : pagesNow()) {
            const qint64 size = before.contains(name) ? -1 : QFileInfo(QDir(pdfDir()).filePath(name)).size();
            if (size > 0 && size == lastSize)
                return QDir(pdfDir()).filePath(name);
            if (size >= 0)
                lastSize = size;
        }
    }
    return QString();
}

QList<Word> readWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    pdftotext.waitForFinished(10000);
    static const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    for (auto it = word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        const auto cm = [&](int i) { return m.captured(i).toDouble() * 2.54 / 72; };
        words.append({m.captured(5), cm(1), cm(2), cm(3), cm(4)});
    }
    return words;
}

// The texts of runs of words that share a top, as pdftotext lists them.
QStringList readLines(const QList<Word> &words)
{
    QStringList lines;
    for (int i = 0; i < words.size(); ++i) {
        if (i > 0 && qAbs(words[i].top - words[i - 1].top) < 0.01)
            lines.last() += ' ' + words[i].text;
        else
            lines.append(words[i].text);
    }
    return lines;
}

const Word *findWord(const QList<Word> &words, const QString &text, double top = -1)
{
    for (const Word &word : words)
        if (word.text == text && (top < 0 || qAbs(word.top - top) < 0.01))
            return &word;
    return nullptr;
}

// Puts the print server into a failing state and back, also when a check fails.
class PrinterTrouble
{
public:
    explicit PrinterTrouble(const QString &kind) : m_kind(kind)
    {
        if (kind == "queue stopped")
            ok = admin("cupsdisable");
        else if (kind == "queue rejecting")
            ok = admin("cupsreject");
        else if (kind == "no print server")
            cupsSetServer("/nonexistent/cups.sock"); // this thread only, as if cupsd were gone
    }
    ~PrinterTrouble()
    {
        if (m_kind == "queue stopped")
            admin("cupsenable");
        else if (m_kind == "queue rejecting")
            admin("cupsaccept");
        else if (m_kind == "no print server")
            cupsSetServer(nullptr);
    }
    bool ok = true;

private:
    static bool admin(const QString &command)
    {
        QProcess process;
        if (geteuid() == 0)
            process.start(command, {"PDF"});
        else
            process.start("sudo", {"-n", command, "PDF"});
        return process.waitForFinished(10000) && process.exitCode() == 0;
    }
    QString m_kind;
};

// The default printer with a jam at the logo, after the page has begun.
class LogoJammedPrinter : public platform::QtPrinter
{
public:
    void PaintPicture(const QImage &, float, float, float, float) override
    {
        throw platform::PrinterError("paper jam");
    }
};


} // namespace

// "Print" on the real default printer, a cups-pdf queue, read back from the PDF file
// the page becomes; a failing printer gives no page and no message, and the window
// carries on.
class TestPrintReport : public QObject
{
    Q_OBJECT

    // Clicks "Print" in a real window with its design values, on the given printer.
    // Returns whether the window can still calculate afterwards.
    bool print(platform::MessageBox &box, std::unique_ptr<platform::Printer> printer)
    {
        FormServices services;
        services.messageBox = &box;
        services.makePrinter = [&printer] { return std::move(printer); };
        Form1 window(services);
        window.show();
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        window.CWNumEdit3->setValue(9); // empties the results
        QTest::mouseClick(window.Command2, Qt::LeftButton);
        return window.isVisible() && !window.Text2[0]->text().isEmpty() && !QApplication::activeModalWidget();
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QVERIFY2(!pdfDir().isEmpty(), "WARMTEGLOED_PDF_DIR is not set: run ./test");
        QVERIFY2(!QPrinterInfo::defaultPrinter().isNull(), "no default printer: run ./test");
    }

    void pageOnPaper()
    {
        const QStringList before = pagesNow();
        QString boxText;
        bool pageWhileBoxOpen = true;
        std::function<void()> closeBox = [&] {
            auto *dialog = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!dialog)
                return QTimer::singleShot(50, this, closeBox);
            boxText = dialog->windowTitle() + ": " + dialog->text();
            pageWhileBoxOpen = !waitForNewPage(before, 1000).isEmpty(); // the page waits for the box
            dialog->accept();
        };
        QTimer::singleShot(50, this, closeBox);
        platform::QtMessageBox box;
        QVERIFY(print(box, platform::makeDefaultPrinter()));
        QCOMPARE(boxText, "PRINTER MESSAGE: Document geprint op PDF.");
        QVERIFY(!pageWhileBoxOpen);
        const QString page = waitForNewPage(before, 15000);
        QVERIFY2(!page.isEmpty(), "no page in WARMTEGLOED_PDF_DIR");

        const QList<Word> words = readWords(page);
        const QStringList lines = readLines(words);
        // Positions count from the printable area, inside the printer's margins. The top
        // of a word is its font's ascent above the baseline, which the filters round.
        const QRectF area = QPrinter(QPrinterInfo::defaultPrinter()).pageLayout().paintRect(QPageLayout::Millimeter);
        const double left = area.left() / 10, top = area.top() / 10;
        const Word *title = findWord(words, "Berekeningsmethode");
        QVERIFY(title && qAbs(title->left - left - 0.5) < 0.05 && qAbs(title->top - top - 1.2) < 0.1);

        for (const char *line : {"Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003", "Invoergegevens",
                 "De berekening wordt uitgevoerd voor een buitenopslag.", "De breedte van de opslag bedraagt 10 m.",
                 "De diepte van de opslag bedraagt 10 m.", "De hoogte van de opslag bedraagt 8 m.",
                 "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
                 "Het beoordelingspunt is gelegen op 5 m van de opslag (verplaatsing loodrecht op de gevel).",
                 "De berekening wordt uitgevoerd voor niet compact gestapeld hout.", "Er is geen afscherming aanwezig.",
                 "Tussenresultaten", "De berekende vlamhoogte bedraagt 24 m vanaf de onderzijde van de stapel.",
                 // the raised 2 is listed apart
                 "De warmtestralingsflux vanuit de stapel bedraagt 78.6 kW per m , boven de stapel neemt de warmtestralingsflux af.",
                 "De berekende transmissie bedraagt 93.44%.", "Berekeningsresultaten"})
            QVERIFY2(lines.contains(line), line);

        const QStringList heights{"2.5", "5", "7.5", "10", "12.5"}, levels{"38.14", "44.17", "44.76", "41.72", "36.73"};
        int row = 0;
        for (const Word &name : words) {
            if (name.text != "Beoordelingspunt" || qAbs(name.left - left - 3.01) > 0.05)
                continue;
            const Word *height = findWord(words, heights.value(row), name.top);
            const Word *level = findWord(words, levels.value(row), name.top);
            QVERIFY2(findWord(words, QString::number(row + 1), name.top) && height && level, qPrintable(heights.value(row)));
            QVERIFY(qAbs(height->right - left - 9.0) < 0.1 && qAbs(level->right - left - 15.0) < 0.1);
            ++row;
        }
        QCOMPARE(row, 5);

        // The unit's 2 stands smaller and higher than the caption it belongs to.
        const Word *caption = findWord(words, "Warmtestralingsniveau");
        const auto two = std::find_if(words.cbegin(), words.cend(), [&](const Word &w) {
            return w.text == "2" && w.top < caption->top && w.top > caption->top - 0.3;
        });
        QVERIFY(two != words.cend());
        QVERIFY(two->bottom - two->top < 0.8 * (caption->bottom - caption->top) && two->bottom < caption->bottom - 0.05);
    }

    void failingPrinter_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("queue stopped") << "queue stopped";
        QTest::newRow("queue rejecting") << "queue rejecting";
        QTest::newRow("no print server") << "no print server";
        QTest::newRow("failure on a begun page") << "no logo";
    }

    void failingPrinter()
    {
        QFETCH(QString, trouble);
        const QStringList before = pagesNow();
        {
            PrinterTrouble failing(trouble);
            QVERIFY(failing.ok);
            RecordingMessageBox box; // answers at once should a box come up after all
            QVERIFY(print(box, trouble == "no logo" ? std::make_unique<LogoJammedPrinter>() : platform::makeDefaultPrinter()));
            QCOMPARE(box.shown.size(), 0);
        }
        // Nothing was left in the queue to come out once it runs again.
        QVERIFY(waitForNewPage(before, 2000).isEmpty());
        // And the next page prints as usual.
        RecordingMessageBox box;
        QVERIFY(print(box, platform::makeDefaultPrinter()));
        QCOMPARE(box.shown.size(), 1);
        QVERIFY(!waitForNewPage(before, 15000).isEmpty());
    }
};

QTEST_MAIN(TestPrintReport)
#include "tst_print_report.moc"
