#include "calculate.h"
#include "calculation_report.h"
#include "recording_message_box.h"
#include "recording_printer.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

using Call = RecordingPrinter::Call;

// What the window hands the report right after "Bereken".
struct Calculated
{
    engine::CalculationState state;
    report::ReportInput input;

    Calculated(const engine::CalculationInput &in, char separator)
    {
        const engine::CalculationResult result = engine::Calculate(in, state, separator);
        input = {&state, in.screen, in.compact, in.indoor, in.B, in.heights, {}, QImage(30, 10, QImage::Format_RGB32),
                 separator, QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9))};
        if (result.firstHeightWritten)
            input.heights[0] = result.firstHeight;
        for (size_t i = 0; i < result.texts.size(); ++i)
            input.levelTexts[i] = QString::fromStdString(result.texts[i]);
    }
};

engine::CalculationInput with(std::function<void(engine::CalculationInput &)> change)
{
    engine::CalculationInput in;
    change(in);
    return in;
}

const Call &printed(const RecordingPrinter &printer, const QString &start)
{
    static const Call none{};
    const auto it = std::find_if(printer.calls.cbegin(), printer.calls.cend(), [&](const Call &c) {
        return c.name == "PrintLine" && c.text.startsWith(start);
    });
    return it == printer.calls.cend() ? none : *it;
}

} // namespace

// The calculation report on a recording printer: which lines each kind of storage
// gets, where the table's cells stand, and what a failing printer leaves behind.
class TestCalculationReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void bodies_data()
    {
        QTest::addColumn<engine::CalculationInput>("in");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");

        QTest::newRow("outdoor, defaults") << engine::CalculationInput() << '.' << QStringList{
            "De berekening wordt uitgevoerd voor een buitenopslag.",
            "De breedte van de opslag bedraagt 10 m.", "De diepte van de opslag bedraagt 10 m.",
            "De hoogte van de opslag bedraagt 8 m.",
            "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
            "Het beoordelingspunt is gelegen op 5 m van de opslag (verplaatsing loodrecht op de gevel).",
            "De berekening wordt uitgevoerd voor niet compact gestapeld hout.", "Er is geen afscherming aanwezig.",
            "De berekende vlamhoogte bedraagt 24 m vanaf de onderzijde van de stapel.",
            "De warmtestralingsflux vanuit de stapel bedraagt 78.6 kW per m2, boven de stapel neemt de warmtestralingsflux af.",
            "De berekende transmissie bedraagt 93.44%.", "Beoordelingspunt 5", "12.5", "36.73"}
            << QStringList{"Van de gehele gevel", "afscherming bedraagt", "voor compact", "Voor de warmtestralingsflux"};
        QTest::newRow("outdoor, compact") << with([](auto &in) { in.compact = true; }) << '.' << QStringList{
            "De berekening wordt uitgevoerd voor compact gestapeld hout.",
            "De berekende vlamhoogte bedraagt 12 m vanaf de onderzijde van de stapel.",
            "De warmtestralingsflux vanuit de stapel bedraagt 46.2 kW per m2, boven de stapel neemt de warmtestralingsflux af.",
            "24.4", "9.91"} << QStringList{"niet compact", "78.6"};
        QTest::newRow("outdoor, screen")
            << with([](auto &in) { in.screen = true, in.hs = 3, in.xs = 2, in.K = 0.5; }) << '.' << QStringList{
            "De hoogte van de afscherming bedraagt 3 m.", "De afstand van de afscherming tot de opslag bedraagt 2 m.",
            "De efficiency van de afscherming is 0.5."} << QStringList{"Er is geen afscherming aanwezig."};
        QTest::newRow("outdoor, limited face, decimal comma")
            << with([](auto &in) { in.B = 100, in.D = 20, in.H = 6, in.x = 20, in.y = 80; }) << ',' << QStringList{
            "De breedte van de opslag bedraagt 40 m.",
            "Het beoordelingspunt is gelegen op 20 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
            "Van de gehele gevel is 40 m in rekening gebracht.", "De berekende transmissie bedraagt 82,48%.",
            "2,5", "14,92"} << QStringList{"100 m", "2.5"};
        QTest::newRow("outdoor, full transmission") << with([](auto &in) { in.x = 1; }) << '.'
            << QStringList{"De berekende transmissie bedraagt 100%."} << QStringList{};
        QTest::newRow("indoor") << with([](auto &in) { in.indoor = true; }) << '.' << QStringList{
            "De berekening wordt uitgevoerd voor een binnenopslag.",
            "De breedte van het gebouw bedraagt 10 m.", "De hoogte van het gebouw bedraagt 8 m.",
            "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).",
            "Het beoordelingspunt is gelegen op 5 m vanaf de opslag (verplaatsing loodrecht op de gevel).",
            "Voor de warmtestralingsflux is uitgegaan van 45 kW per m2.", "Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t"}
            << QStringList{"voor een buitenopslag", "De diepte", "gestapeld hout", "afscherming",
                           "Van de gehele gevel", "vlamhoogte", "transmissie", "Beoordelingspunt 2"};
    }

    void bodies()
    {
        QFETCH(engine::CalculationInput, in);
        QFETCH(char, separator);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);

        Calculated calculated(in, separator);
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);

        present << "Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003"
                << "Beoordelingspunt\tBeoordelingshoogte (m)\tWarmtestralingsniveau (kW per m2)";
        for (const QString &line : present)
            QVERIFY2(printer.lines.contains(line), qPrintable("missing: " + line));
        for (const QString &part : absent)
            for (const QString &line : printer.lines)
                QVERIFY2(!line.contains(part), qPrintable("unexpected: " + line));
    }

    void layout()
    {
        Calculated calculated(engine::CalculationInput(), '.');
        calculated.input.levelTexts[4].clear();
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);

        const auto at = [&](const QString &start, float x, float y) {
            const Call &call = printed(printer, start);
            QVERIFY2(call.x == x && call.y == y, qPrintable(QString("%1 at %2, %3").arg(start).arg(call.x).arg(call.y)));
        };
        at("Berekeningsmethode", 0.5f, 1.2f);
        at("Berekeningen zijn", 0.5f, 3.0f);
        at("Invoergegevens", 0.5f, 5.0f);
        QVERIFY(printed(printer, "Invoergegevens").underline && !printed(printer, "De berekening").underline);
        // The top rule keeps the printer's own width; the bottom rule is 2 pixels.
        QStringList rules;
        for (const Call &call : printer.calls)
            if (call.name == "Line" || call.name == "PaintPicture")
                rules << QString("%1 %2,%3 %4").arg(call.name).arg(call.x).arg(call.y).arg(call.text);
        QCOMPARE(rules, (QStringList{"Line 0.5,1.7 20.5 to 1.7 width 1", "Line 0.5,27.5 20.5 to 27.5 width 2",
                                     "PaintPicture 16.5,0.5 3 x 1"}));

        // Cells share their row's top: names at 3.01, heights end at 9.0, levels at 15.0.
        const auto right = [](const Call &c) {
            return c.x + c.text.trimmed().size() * RecordingPrinter::CharWidthPerPoint * c.fontSize;
        };
        float previousY = 0;
        for (int n = 1; n <= 5; ++n) {
            const Call *name = &printed(printer, QString("Beoordelingspunt %1").arg(n));
            QVERIFY(name->x == 3.01f && !name->bold);
            QCOMPARE(name[1].y, name->y);
            QCOMPARE(name[2].y, name->y);
            QVERIFY(qAbs(right(name[1]) - 9.0f) < 1e-5f);
            QCOMPARE(name[2].text, calculated.input.levelTexts[n - 1] + "\r\n");
            QVERIFY(qAbs(right(name[2]) - 15.0f) < 1e-5f);
            if (n > 1)
                QVERIFY(qAbs(name->y - previousY - 2 * RecordingPrinter::LineHeightPerPoint * 10) < 1e-5f);
            previousY = name->y;
        }
        // The footer: the user's short date, three blanks and the time without a zone.
        const Call &footer = printer.calls.last();
        QVERIFY(footer.x == 0.5f && footer.y == 27.6f && footer.fontSize == 9.0f);
        QCOMPARE(footer.text, QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat) + "   14:05:09\r\n");
    }

    void printing_data()
    {
        QTest::addColumn<QString>("failingCall"); // empty: nothing fails
        QTest::addColumn<QString>("failingText");
        QTest::addColumn<bool>("abandoningFails");
        QTest::addColumn<int>("messages");

        QTest::newRow("complete page") << "" << "" << false << 1;
        QTest::newRow("first output") << "PrintLine" << "Berekeningsmethode" << false << 0;
        QTest::newRow("rule") << "Line" << "" << false << 0;
        QTest::newRow("inside a superscript") << "Print" << "2" << false << 0;
        QTest::newRow("logo") << "PaintPicture" << "" << false << 0;
        QTest::newRow("footer font") << "FontSize" << "9" << false << 0;
        QTest::newRow("abandoning fails as well") << "PrintLine" << "Berekeningsmethode" << true << 0;
        QTest::newRow("release, after the box") << "EndDoc" << "" << false << 1;
    }

    void printing()
    {
        QFETCH(QString, failingCall);
        QFETCH(QString, failingText);
        QFETCH(bool, abandoningFails);
        QFETCH(int, messages);

        Calculated calculated(engine::CalculationInput(), '.');
        RecordingPrinter rehearsal;
        report::composeCalculationReport(calculated.input, rehearsal);
        rehearsal.EndDoc();
        const auto failing = std::find_if(rehearsal.calls.cbegin(), rehearsal.calls.cend(), [&](const Call &c) {
            return c.name == failingCall && (failingText.isEmpty() || c.text.startsWith(failingText));
        });

        RecordingPrinter printer;
        printer.deviceName = "Kantoor";
        printer.failAtCall = failingCall.isEmpty() ? -1 : int(failing - rehearsal.calls.cbegin());
        printer.failAbandoning = abandoningFails;
        RecordingMessageBox box;
        QCOMPARE(report::printCalculationReport(calculated.input, printer, &box), failingCall.isEmpty());

        QCOMPARE(box.shown.size(), messages);
        if (messages) {
            QCOMPARE(box.shown[0].prompt, "Document geprint op Kantoor.");
            QCOMPARE(box.shown[0].style, platform::vbOKOnly + platform::vbInformation);
            QCOMPARE(box.shown[0].title, "PRINTER MESSAGE");
        }
        if (failingCall.isEmpty()) {
            // The page is released once, after everything else, the box included.
            QCOMPARE(printer.calls.size(), rehearsal.calls.size());
            QCOMPARE(printer.count("EndDoc"), 1);
            QCOMPARE(printer.calls.last().name, "EndDoc");
        } else {
            // Nothing more is drawn after the failure: the page is killed, then ended.
            QCOMPARE(printer.calls.size(), printer.failAtCall + 3);
            QCOMPARE(printer.calls[printer.failAtCall + 1].name, "KillDoc");
            QCOMPARE(printer.calls[printer.failAtCall + 2].name, "EndDoc");
        }
    }
};

QTEST_GUILESS_MAIN(TestCalculationReport)
#include "tst_calculation_report.moc"
