#include "calculate.h"
#include "calculation_report.h"
#include "message_box.h"
#include "recording_message_box.h"
#include "recording_printer.h"

#include <QLocale>
#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

// What the window hands the report right after "Bereken".
struct Calculated
{
    engine::CalculationState state;
    report::ReportInput input;

    Calculated(const engine::CalculationInput &in, char separator)
    {
        const engine::CalculationResult result = engine::Calculate(in, state, separator);
        input.state = &state;
        input.Check1 = in.screen;
        input.Check2 = in.compact;
        input.Check3 = in.indoor;
        input.enteredWidth = in.B;
        input.heights = in.heights;
        if (result.firstHeightWritten)
            input.heights[0] = result.firstHeight;
        for (size_t i = 0; i < result.texts.size(); ++i)
            input.levelTexts[i] = QString::fromStdString(result.texts[i]);
        input.logo = QImage(30, 10, QImage::Format_RGB32);
        input.decimalSeparator = separator;
        input.printedAt = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    }
};

// A message box that notes whether the page had been released when it was shown.
class WatchingMessageBox : public RecordingMessageBox
{
public:
    explicit WatchingMessageBox(const RecordingPrinter &printer) : m_printer(printer) {}
    int MsgBox(const QString &prompt, int style, const QString &title) override
    {
        endDocsBeforeBox = m_printer.count("EndDoc");
        return RecordingMessageBox::MsgBox(prompt, style, title);
    }
    int endDocsBeforeBox = -1;

private:
    const RecordingPrinter &m_printer;
};

const RecordingPrinter::Call *findPrint(const RecordingPrinter &printer, const QString &start)
{
    for (const RecordingPrinter::Call &call : printer.calls)
        if (call.name == "PrintLine" && call.text.startsWith(start))
            return &call;
    return nullptr;
}

} // namespace

// The calculation report on a recording printer: which lines each kind of storage
// gets, where the cells of the table stand, and what a failing printer leaves behind.
class TestCalculationReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void bodies_data()
    {
        QTest::addColumn<engine::CalculationInput>("in");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");

        const engine::CalculationInput defaults;
        QTest::newRow("outdoor, defaults")
            << defaults << "." << QStringList{
                "De berekening wordt uitgevoerd voor een buitenopslag.",
                "De breedte van de opslag bedraagt 10 m.",
                "De diepte van de opslag bedraagt 10 m.",
                "De hoogte van de opslag bedraagt 8 m.",
                "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
                "Het beoordelingspunt is gelegen op 5 m van de opslag (verplaatsing loodrecht op de gevel).",
                "De berekening wordt uitgevoerd voor niet compact gestapeld hout.",
                "Er is geen afscherming aanwezig.",
                "De berekende vlamhoogte bedraagt 24 m vanaf de onderzijde van de stapel.",
                "De warmtestralingsflux vanuit de stapel bedraagt 78.6 kW per m2, boven de stapel neemt de warmtestralingsflux af.",
                "De berekende transmissie bedraagt 93.44%.",
                "Beoordelingspunt 5", "12.5", "36.73"}
            << QStringList{"Van de gehele gevel is", "De hoogte van de afscherming",
                           "voor compact gestapeld hout", "Voor de warmtestralingsflux"};

        engine::CalculationInput compact;
        compact.compact = true;
        QTest::newRow("outdoor, compact")
            << compact << "." << QStringList{
                "De berekening wordt uitgevoerd voor compact gestapeld hout.",
                "De berekende vlamhoogte bedraagt 12 m vanaf de onderzijde van de stapel.",
                "De warmtestralingsflux vanuit de stapel bedraagt 46.2 kW per m2, boven de stapel neemt de warmtestralingsflux af.",
                "24.4", "9.91"}
            << QStringList{"niet compact", "78.6"};

        engine::CalculationInput screen;
        screen.screen = true;
        screen.hs = 3;
        screen.xs = 2;
        screen.K = 0.5;
        QTest::newRow("outdoor, screen")
            << screen << "." << QStringList{
                "De hoogte van de afscherming bedraagt 3 m.",
                "De afstand van de afscherming tot de opslag bedraagt 2 m.",
                "De efficiency van de afscherming is 0.5."}
            << QStringList{"Er is geen afscherming aanwezig."};

        engine::CalculationInput limited;
        limited.B = 100;
        limited.D = 20;
        limited.H = 6;
        limited.x = 20;
        limited.y = 80;
        QTest::newRow("outdoor, limited face, decimal comma")
            << limited << "," << QStringList{
                "De breedte van de opslag bedraagt 40 m.",
                "Het beoordelingspunt is gelegen op 20 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
                "Van de gehele gevel is 40 m in rekening gebracht.",
                "De berekende transmissie bedraagt 82,48%.",
                "2,5", "14,92", "15,69"}
            << QStringList{"De breedte van de opslag bedraagt 100 m.", "2.5"};

        engine::CalculationInput near;
        near.x = 1;
        QTest::newRow("outdoor, full transmission")
            << near << "." << QStringList{"De berekende transmissie bedraagt 100%."} << QStringList{};

        engine::CalculationInput indoor;
        indoor.indoor = true;
        QTest::newRow("indoor")
            << indoor << "." << QStringList{
                "De berekening wordt uitgevoerd voor een binnenopslag.",
                "De breedte van het gebouw bedraagt 10 m.",
                "De hoogte van het gebouw bedraagt 8 m.",
                "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
                "Het beoordelingspunt is gelegen op 5 m vanaf de opslag (verplaatsing loodrecht op de gevel).",
                "Voor de warmtestralingsflux is uitgegaan van 45 kW per m2.",
                "Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t"}
            << QStringList{"voor een buitenopslag", "De diepte", "gestapeld hout", "afscherming",
                           "Van de gehele gevel", "vlamhoogte", "transmissie", "Beoordelingspunt 2"};
    }

    void bodies()
    {
        QFETCH(engine::CalculationInput, in);
        QFETCH(QString, separator);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);

        Calculated calculated(in, separator.at(0).toLatin1());
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);

        const QStringList &lines = printer.lines;
        QVERIFY(lines.contains("Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003"));
        QVERIFY(lines.contains("Beoordelingspunt\tBeoordelingshoogte (m)\tWarmtestralingsniveau (kW per m2)"));
        for (const QString &line : present)
            QVERIFY2(lines.contains(line), qPrintable("missing: " + line));
        for (const QString &part : absent)
            for (const QString &line : lines)
                QVERIFY2(!line.contains(part), qPrintable("unexpected: " + line));
        QCOMPARE(printer.count("EndDoc") + printer.count("KillDoc"), 0);
    }

    void outdoorLayout()
    {
        engine::CalculationInput in;
        Calculated calculated(in, '.');
        calculated.input.levelTexts[4].clear();
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);

        const auto *title = findPrint(printer, "Berekeningsmethode");
        QVERIFY(title);
        QCOMPARE(title->x, 0.5f);
        QCOMPARE(title->y, 1.2f);
        const auto *heading = findPrint(printer, "Invoergegevens");
        QVERIFY(heading && heading->underline);
        QCOMPARE(heading->x, 0.5f);
        QCOMPARE(heading->y, 5.0f);
        QVERIFY(!findPrint(printer, "De berekening wordt")->underline);

        // The top rule keeps the printer's own width; the bottom rule is 2 pixels.
        QList<RecordingPrinter::Call> rules;
        for (const auto &call : printer.calls)
            if (call.name == "Line")
                rules.append(call);
        QCOMPARE(rules.size(), 2);
        QCOMPARE(rules[0].text, "1");
        QCOMPARE(rules[0].y, 1.7f);
        QCOMPARE(rules[0].x2, 20.5f);
        QCOMPARE(rules[1].text, "2");
        QCOMPARE(rules[1].y, 27.5f);

        // Each row's cells share their top; names at 3.01, heights ending at 9.0 and
        // levels at 15.0; a row and an empty line between rows.
        const float lineHeight = RecordingPrinter::LineHeightPerPoint * 10;
        float previousY = -1;
        for (int n = 1; n <= 5; ++n) {
            const auto *name = findPrint(printer, QStringLiteral("Beoordelingspunt %1").arg(n));
            QVERIFY(name && !name->bold);
            QCOMPARE(name->x, 3.01f);
            const auto *height = name + 1;
            const auto *level = name + 2;
            QCOMPARE(height->y, name->y);
            QCOMPARE(level->y, name->y);
            QVERIFY(qAbs(height->x + height->text.size() * 0.2f - 9.0f) < 1e-5f);
            QCOMPARE(level->text, calculated.input.levelTexts[n - 1] + "\r\n");
            QVERIFY(qAbs(level->x + (level->text.size() - 2) * 0.2f - 15.0f) < 1e-5f);
            if (previousY >= 0)
                QVERIFY(qAbs(name->y - previousY - 2 * lineHeight) < 1e-5f);
            previousY = name->y;
        }
        QCOMPARE(findPrint(printer, "Beoordelingspunt 5")[2].x, 15.0f);

        const auto logo = std::find_if(printer.calls.cbegin(), printer.calls.cend(),
                                       [](const auto &call) { return call.name == "PaintPicture"; });
        QVERIFY(logo != printer.calls.cend());
        QCOMPARE((QList<float>{logo->x, logo->y, logo->x2, logo->y2}), (QList<float>{16.5f, 0.5f, 3.0f, 1.0f}));

        // The footer: the user's short date, three blanks and the time without a zone.
        const RecordingPrinter::Call &footer = printer.calls.last();
        QCOMPARE(footer.name, "PrintLine");
        QCOMPARE(footer.fontSize, 9.0f);
        QCOMPARE(footer.x, 0.5f);
        QCOMPARE(footer.y, 27.6f);
        QCOMPARE(footer.text, QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat) + "   14:05:09\r\n");
    }

    void messageAfterPage()
    {
        Calculated calculated(engine::CalculationInput(), '.');
        RecordingPrinter printer;
        printer.deviceName = "Kantoor";
        WatchingMessageBox box(printer);

        QVERIFY(report::printCalculationReport(calculated.input, printer, &box));
        QCOMPARE(box.shown.size(), 1);
        QCOMPARE(box.shown[0].prompt, "Document geprint op Kantoor.");
        QCOMPARE(box.shown[0].style, platform::vbOKOnly + platform::vbInformation);
        QCOMPARE(box.shown[0].title, "PRINTER MESSAGE");
        QCOMPARE(box.endDocsBeforeBox, 0);
        QCOMPARE(printer.calls.last().name, "EndDoc");
        QCOMPARE(printer.count("KillDoc"), 0);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("failingCall");
        QTest::addColumn<QString>("failingText");
        QTest::addColumn<bool>("abandoningFails");
        QTest::addColumn<int>("messages");

        QTest::newRow("first output") << "PrintLine" << "Berekeningsmethode" << false << 0;
        QTest::newRow("rule") << "Line" << "" << false << 0;
        QTest::newRow("inside a superscript") << "Print" << "2" << false << 0;
        QTest::newRow("logo") << "PaintPicture" << "" << false << 0;
        QTest::newRow("footer") << "FontSize" << "9" << false << 0;
        QTest::newRow("abandoning fails as well") << "PrintLine" << "Berekeningsmethode" << true << 0;
        // Only the release itself comes after the box.
        QTest::newRow("release") << "EndDoc" << "" << false << 1;
    }

    void failures()
    {
        QFETCH(QString, failingCall);
        QFETCH(QString, failingText);
        QFETCH(bool, abandoningFails);
        QFETCH(int, messages);

        Calculated calculated(engine::CalculationInput(), '.');
        RecordingPrinter rehearsal;
        RecordingMessageBox rehearsalBox;
        report::printCalculationReport(calculated.input, rehearsal, &rehearsalBox);
        const auto failing = std::find_if(rehearsal.calls.cbegin(), rehearsal.calls.cend(), [&](const auto &call) {
            return call.name == failingCall && (failingText.isEmpty() || call.text.startsWith(failingText));
        });
        QVERIFY(failing != rehearsal.calls.cend());

        RecordingPrinter printer;
        printer.failAtCall = int(failing - rehearsal.calls.cbegin());
        printer.failAbandoning = abandoningFails;
        RecordingMessageBox box;
        QVERIFY(!report::printCalculationReport(calculated.input, printer, &box));

        QCOMPARE(box.shown.size(), messages);
        // Nothing more is drawn after the failure: the page is killed, then ended.
        QCOMPARE(printer.calls.size(), printer.failAtCall + 3);
        QCOMPARE(printer.calls[printer.failAtCall + 1].name, "KillDoc");
        QCOMPARE(printer.calls[printer.failAtCall + 2].name, "EndDoc");
    }
};

QTEST_GUILESS_MAIN(TestCalculationReport)
#include "tst_calculation_report.moc"
