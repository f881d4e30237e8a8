#include "calculate.h"
#include "calculation_report.h"
#include "make_printer_text.h"
#include "recording_message_box.h"
#include "recording_printer.h"
#include "report_input.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

// What the window hands the report right after "Bereken".
struct Calculated
{
    engine::CalculationState state;
    report::ReportInput input;

    explicit Calculated(const engine::CalculationInput &in = {}, char separator = '.')
    {
        const engine::CalculationResult result = engine::Calculate(in, state, separator);
        input = report::makeReportInput(in, state, result);
        input.logo = QImage(30, 10, QImage::Format_RGB32);
        input.decimalSeparator = separator;
        input.printedAt = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    }
};

engine::CalculationInput with(std::function<void(engine::CalculationInput &)> change)
{
    engine::CalculationInput in;
    change(in);
    return in;
}

} // namespace

// The report on a recording printer; tests/system reads the design values' page back from paper.
class TestReport : public QObject
{
    Q_OBJECT

    static constexpr float StartY = 2.3f;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void markup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>(
            "printed"); // a character at another height or size as [shift,size:c]; |end state
        QTest::newRow("empty text") << ""
                                    << "|0,10";
        QTest::newRow("unit with superscript") << "kW per m^{2}"
                                               << "kW per m[-0.125,6:2]|0,10";
        QTest::newRow("subscript then plain") << "H_{2}O"
                                              << "H[0.125,6:2]O|0,10";
        QTest::newRow("markers without brace, last too") << "a^b_c^"
                                                         << "a^b_c^|0,10";
        QTest::newRow("two underscores") << "__{i}"
                                         << "_[0.125,6:i]|0,10";
        QTest::newRow("braces before any marker") << "{a}b"
                                                  << "ab|0,10";
        QTest::newRow("bare braces after superscript") << "m^{2} {3}"
                                                       << "m[-0.125,6:2] [-0.125,6:3]|0,10";
        QTest::newRow("empty markup") << "a^{}b"
                                      << "ab|0,10";
        QTest::newRow("superscript never closed") << "m^{2"
                                                  << "m[-0.125,6:2]|-0.125,6";
        QTest::newRow("superscript inside subscript") << "_{a^{b}}c"
                                                      << "[0.125,6:a][0,6:b][0.125,6:c]|0.125,6";
    }

    void markup()
    {
        QFETCH(QString, text);
        RecordingPrinter printer;
        printer.setCurrentX(1.0f), printer.setCurrentY(StartY);
        QVERIFY(report::MakePrinterText(printer, text).isEmpty());

        QString trace; // one Print per character, each where the one before ended, none ending the line
        float x = 1.0f;
        for (const RecordingPrinter::Call &c : printer.calls) {
            QVERIFY(c.name == "FontSize" || (c.name == "Print" && c.text.size() == 1 && c.x == x));
            if (c.name == "Print")
                trace += c.y == StartY && c.fontSize == 10
                    ? c.text
                    : QString("[%1,%2:%3]").arg(double(c.y) - StartY).arg(c.fontSize).arg(c.text);
            x += c.name == "Print" ? RecordingPrinter::CharWidthPerPoint * c.fontSize : 0;
        }
        QTEST(trace + QString("|%1,%2").arg(double(printer.CurrentY()) - StartY).arg(printer.FontSize()),
              "printed");
    }

    void textLengthLimit()
    {
        RecordingPrinter printer;
        report::MakePrinterText(printer, QString(32766, u'a'));
        QVERIFY_THROWS_EXCEPTION(std::exception, report::MakePrinterText(printer, QString(32767, u'a')));
        QCOMPARE(printer.calls.size(), 32766); // nothing of the longer text
    }

    void bodies_data()
    {
        QTest::addColumn<engine::CalculationInput>("in");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("outdoor, defaults") << engine::CalculationInput() << '.'
                                           << QStringList {"-Van de gehele gevel", "-afscherming bedraagt"};
        QTest::newRow("outdoor, compact, close by")
            << with([](auto &in) { in.compact = true, in.x = 1; }) << '.'
            << QStringList {"De berekening wordt uitgevoerd voor compact gestapeld hout.",
                            "De berekende transmissie bedraagt 100%.",
                            "De berekende vlamhoogte bedraagt 12 m vanaf de onderzijde van de stapel.",
                            "-niet compact",
                            "-78.6",
                            "De warmtestralingsflux vanuit de stapel bedraagt 46.2 kW per m2, boven de "
                            "stapel neemt de warmtestralingsflux af."};
        QTest::newRow("outdoor, screen")
            << with([](auto &in) { in.screen = true, in.hs = 3, in.xs = 2, in.K = 0.5; }) << '.'
            << QStringList {"De hoogte van de afscherming bedraagt 3 m.",
                            "De afstand van de afscherming tot de opslag bedraagt 2 m.",
                            "-Er is geen afscherming", "De efficiency van de afscherming is 0.5."};
        QTest::newRow("outdoor, limited face, decimal comma")
            << with([](auto &in) { in.B = 100, in.D = 20, in.H = 6, in.x = 20, in.y = 80; }) << ','
            << QStringList {"De breedte van de opslag bedraagt 40 m.",
                            "Van de gehele gevel is 40 m in rekening gebracht.",
                            "Het beoordelingspunt is gelegen op 20 m vanaf de zijde van de opslag "
                            "(verplaatsing parallel aan de gevel).",
                            "De berekende transmissie bedraagt 82,48%.",
                            "2,5",
                            "-100 m",
                            "-2.5"};
        QTest::newRow("indoor")
            << with([](auto &in) { in.indoor = true; }) << '.'
            << QStringList {"De berekening wordt uitgevoerd voor een binnenopslag.",
                            "De breedte van het gebouw bedraagt 10 m.",
                            "De hoogte van het gebouw bedraagt 8 m.",
                            "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag "
                            "(verplaatsing parallel aan de gevel).",
                            "Het beoordelingspunt is gelegen op 5 m vanaf de opslag (verplaatsing loodrecht "
                            "op de gevel).",
                            "Voor de warmtestralingsflux is uitgegaan van 45 kW per m2.",
                            "Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t",
                            "Beoordelingspunt\tBeoordelingshoogte (m)\tWarmtestralingsniveau (kW per m2)",
                            "-voor een buitenopslag",
                            "-De diepte",
                            "-gestapeld hout",
                            "-afscherming",
                            "-Van de gehele gevel",
                            "-vlamhoogte",
                            "-transmissie",
                            "-Beoordelingspunt 2"};
    }

    void bodies()
    {
        QFETCH(engine::CalculationInput, in);
        QFETCH(char, separator);
        QFETCH(QStringList, lines);
        Calculated calculated(in, separator);
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);
        for (const QString &line : lines) // "-" and a part: no printed line holds it
            QVERIFY2(line.startsWith('-') ? printer.lines.filter(line.mid(1)).isEmpty()
                                          : printer.lines.contains(line),
                     qPrintable(line));
        // The footer: the user's short date, three blanks and the time without a zone.
        QCOMPARE(printer.lines.at(printer.lines.size() - 2),
                 QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat) + "   14:05:09");
    }

    void printing_data()
    {
        QTest::addColumn<QString>("failing"); // the first failing call
        QTest::addColumn<int>("failures");    // 3: abandoning fails as well
        QTest::newRow("complete page") << "" << 0;
        QTest::newRow("inside a superscript") << "Print 2" << 1;
        QTest::newRow("first call, abandoning fails as well") << "PaperSize 9" << 3;
        QTest::newRow("release, after the box") << "EndDoc 0" << 1;
    }

    void printing()
    {
        QFETCH(QString, failing);
        QFETCH(int, failures);
        Calculated calculated;
        RecordingPrinter rehearsal, printer;
        report::composeCalculationReport(calculated.input, rehearsal);
        rehearsal.EndDoc();
        const QStringList calls = rehearsal.trace();
        for (int i = 0; i < failures; ++i)
            printer.failAt << int(calls.indexOf(failing)) + i;
        RecordingMessageBox box;
        QCOMPARE(report::printCalculationReport(calculated.input, printer, &box), failures == 0);
        // The box only after a complete page, before it is released; nothing drawn after a failure.
        QCOMPARE(box.shown.join('\n'),
                 failures == 0 || failing == "EndDoc 0"
                     ? "PRINTER MESSAGE (64): Document geprint op Recorder."
                     : "");
        QCOMPARE(printer.trace(),
                 failures ? calls.mid(0, printer.failAt[0] + 1) << "KillDoc 0"
                                                                << "EndDoc 0"
                          : calls);
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
