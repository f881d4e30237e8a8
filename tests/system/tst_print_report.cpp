#include "cw_num_edit.h"
#include "form1.h"
#include "qt_message_box.h"
#include "qt_printer.h"
#include "recording_message_box.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>
#include <unistd.h>

namespace {

struct Word
{
    QString text;
    double left, top, right, bottom;
}; // cm from the printable area's corner

// The page cups-pdf files after `before`, once it stops growing; empty after the limit. By time,
// not by name: a print server whose job numbers start again reuses old names.
QString waitForNewPage(const QDateTime &before, int timeoutMs)
{
    QString page;
    qint64 lastSize = -1;
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        for (const QFileInfo &file :
             QDir(qEnvironmentVariable("WARMTEGLOED_PDF_DIR")).entryInfoList({"*.pdf"})) {
            if (file.lastModified() >= before)
                page = file.filePath();
        }
        const qint64 size = page.isEmpty() ? -1 : QFileInfo(page).size();
        if (size > 0 && size == lastSize)
            return page;
        lastSize = size;
        QTest::qWait(100);
    }
    return QString();
}

// The page's words as pdftotext places them; the printer's margins taken off.
QList<Word> readWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    pdftotext.waitForFinished(10000);
    const QRectF area =
        QPrinter(QPrinterInfo::defaultPrinter()).pageLayout().paintRect(QPageLayout::Millimeter);
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    for (auto it = word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        const auto cm = [&](int i, double margin) {
            return m.captured(i).toDouble() * 2.54 / 72 - margin / 10;
        };
        words.append(
            {m.captured(5), cm(1, area.left()), cm(2, area.top()), cm(3, area.left()), cm(4, area.top())});
    }
    return words;
}

bool cupsAdmin(const QString &command)
{
    return QProcess::execute("sh", {"-c", (geteuid() ? "sudo -n " : "") + command + " PDF"}) == 0;
}

// The default printer with a jam at the logo, after the page has begun.
struct LogoJammedPrinter : platform::QtPrinter
{
    void PaintPicture(const QImage &, float, float, float, float) override
    {
        throw platform::PrinterError("paper jam");
    }
};

} // namespace

// "Print" in the real window on the default printer, a cups-pdf queue whose PDF pages are read back.
class TestPrintReport : public QObject
{
    Q_OBJECT

    // Clicks "Print" in a window with its design values; true when it can still calculate.
    bool print(platform::MessageBox &box, std::unique_ptr<platform::Printer> printer)
    {
        Form1 window(FormServices {&box, nullptr, [&printer] { return std::move(printer); }});
        window.show();
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        window.CWNumEdit3->setValue(9); // empties the results
        QTest::mouseClick(window.Command2, Qt::LeftButton);
        return window.isVisible() && !window.Text2[0]->text().isEmpty() && !QApplication::activeModalWidget();
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Runs before pageOnPaper, which shows that every trouble was mended again.
    void failingPrinter_data()
    {
        QTest::addColumn<QStringList>("trouble"); // what breaks printing, what mends the queue again
        QTest::newRow("queue stopped") << QStringList {"cupsdisable", "cupsenable"};
        QTest::newRow("queue rejecting") << QStringList {"cupsreject", "cupsaccept"};
        QTest::newRow("no print server") << QStringList {"server gone", ""};
        QTest::newRow("failure on a begun page") << QStringList {"logo jammed", ""};
    }
    void failingPrinter()
    {
        QFETCH(QStringList, trouble);
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
        {
            const auto mend = qScopeGuard([&] {
                cupsSetServer(nullptr);
                if (!trouble[1].isEmpty())
                    cupsAdmin(trouble[1]);
            });
            if (trouble[0] == "server gone")
                cupsSetServer("/nonexistent/cups.sock"); // this thread only, as if cupsd were gone
            else if (trouble[0].startsWith("cups"))
                QVERIFY(cupsAdmin(trouble[0]));
            RecordingMessageBox box; // answers at once should a box come up after all
            QVERIFY(print(box,
                          trouble[0] == "logo jammed" ? std::make_unique<LogoJammedPrinter>()
                                                      : platform::makeDefaultPrinter()));
            QCOMPARE(box.shown, QStringList());
        }
        QVERIFY(waitForNewPage(before, 2000).isEmpty()); // nothing left to come out once the queue runs again
    }

    // The queue stops while the user reads where the page goes: the page is dropped, not held
    // to come out whenever someone restarts the queue.
    void queueStoppedWhileTheBoxIsOpen()
    {
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
        {
            const auto mend = qScopeGuard([] { cupsAdmin("cupsenable"); });
            RecordingMessageBox box;
            bool stopped = false;
            box.behind = [&stopped] {
                stopped = cupsAdmin("cupsdisable");
                return QString();
            };
            QVERIFY(print(box, platform::makeDefaultPrinter()));
            QVERIFY(stopped);
            QCOMPARE(box.shown, QStringList {"PRINTER MESSAGE (64): Document geprint op PDF."});
        }
        QVERIFY(waitForNewPage(before, 3000).isEmpty()); // nothing comes out once the queue runs again
    }

    void pageOnPaper()
    {
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
        QString boxText;
        QTimer closer; // the page must wait for the box
        connect(&closer, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            const bool pageOut = !waitForNewPage(before, 3000).isEmpty();
            boxText = box->windowTitle() + ": " + box->text() + (pageOut ? " (page out)" : "");
            box->accept();
        });
        closer.start(50);
        platform::QtMessageBox box;
        QVERIFY(print(box, platform::makeDefaultPrinter()));
        QCOMPARE(boxText, "PRINTER MESSAGE: Document geprint op PDF.");
        const QString page = waitForNewPage(before, 15000);
        QVERIFY2(!page.isEmpty(), "no page in WARMTEGLOED_PDF_DIR: run ./test");

        // The top of a word is its font's ascent above the baseline, which the filters round.
        const QList<Word> words = readWords(page);
        const auto find = [&](const QString &text) {
            return std::find_if(words.cbegin(), words.cend(), [&](const Word &w) { return w.text == text; });
        };
        const auto title = find("Berekeningsmethode"), caption = find("Warmtestralingsniveau");
        QVERIFY(title != words.cend() && qAbs(title->left - 0.5) < 0.05 && qAbs(title->top - 1.2) < 0.1);

        QStringList lines; // runs of words that share a top, as pdftotext lists them
        for (int i = 0; i < words.size(); ++i)
            lines << (i > 0 && qAbs(words[i].top - words[i - 1].top) < 0.01 ? lines.takeLast() + ' '
                                                                            : QString())
                    + words[i].text;
        for (const char *line :
             {"Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003", "Invoergegevens",
              "Tussenresultaten", "Berekeningsresultaten",
              "De berekening wordt uitgevoerd voor een buitenopslag.",
              "De breedte van de opslag bedraagt 10 m.", "De diepte van de opslag bedraagt 10 m.",
              "De hoogte van de opslag bedraagt 8 m.", "Er is geen afscherming aanwezig.",
              "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel "
              "aan de gevel).",
              "Het beoordelingspunt is gelegen op 5 m van de opslag (verplaatsing loodrecht op de gevel).",
              "De berekende transmissie bedraagt 93.44%.",
              "De berekening wordt uitgevoerd voor niet compact gestapeld hout.",
              "De berekende vlamhoogte bedraagt 24 m vanaf de onderzijde van de stapel.",
              "De warmtestralingsflux vanuit de stapel bedraagt 78.6 kW per m , boven de stapel neemt de "
              "warmtestralingsflux af.", // the raised 2 apart
              "Beoordelingspunt 1 2.5 38.14"})
            QVERIFY2(lines.contains(line), line);

        double lastTop = 0; // the rows a blank line apart, heights ending at 9.0 cm and levels at 15.0 cm
        for (const char *level : {"38.14", "44.17", "44.76", "41.72", "36.73"}) {
            const auto at = find(level);
            QVERIFY2(at != words.cend() && qAbs((at - 1)->right - 9.0) < 0.1 && qAbs(at->right - 15.0) < 0.1
                         && at->top - std::exchange(lastTop, at->top) > 0.6,
                     level);
        }

        // The unit's 2 stands smaller and higher than the caption it belongs to.
        QVERIFY(caption != words.cend() && std::any_of(words.cbegin(), words.cend(), [&](const Word &w) {
                    return w.text == "2" && w.top < caption->top && w.top > caption->top - 0.3
                        && w.bottom < caption->bottom - 0.05
                        && w.bottom - w.top < 0.8 * (caption->bottom - caption->top);
                }));
    }
};

QTEST_MAIN(TestPrintReport)
#include "tst_print_report.moc"
