// The report and MakePrinterText on a recording printer: the pen for each character of the
// markup, and the lines of the report's body and footer. tests/system prints the page on paper.

#include "calculate.h"
#include "calculation_report.h"
#include "given_input.h"
#include "make_printer_text.h"
#include "recording_printer.h"
#include "report_input.h"

#include <QLocale>
#include <QTest>

namespace {

using Input = engine::CalculationInput;

// Where the pen stood for a character: above (-) or below (+) the line in cm, and the font size.
struct Pen
{
    float shift;
    float size;
    bool operator==(const Pen &o) const { return shift == o.shift && size == o.size; }
};
const Pen Normal {0, 10};
const Pen Raised {-0.125f, 6};
const Pen Lowered {0.125f, 6};

struct Glyph
{
    QChar character;
    Pen pen;
    bool operator==(const Glyph &o) const { return character == o.character && pen == o.pen; }
};

char *toString(const Pen &pen)
{
    return QTest::toString(QStringLiteral("shift %1 size %2").arg(pen.shift).arg(pen.size));
}

char *toString(const Glyph &glyph)
{
    return QTest::toString(QStringLiteral("'%1' shift %2 size %3")
                               .arg(glyph.character)
                               .arg(glyph.pen.shift)
                               .arg(glyph.pen.size));
}

QList<Glyph> glyphs(const QString &text, Pen pen)
{
    QList<Glyph> list;
    for (const QChar c : text)
        list.append({c, pen});
    return list;
}

// What the window hands the report right after "Bereken".
struct Calculated
{
    engine::CalculationState state;
    report::ReportInput input;

    explicit Calculated(const Input &in = {}, char separator = '.')
    {
        const engine::CalculationResult result = engine::Calculate(in, state, separator);
        input = report::makeReportInput(in, state, result);
        input.logo = QImage(30, 10, QImage::Format_RGB32);
        input.decimalSeparator = separator;
        input.printedAt = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    }
};

float width(const QString &text, float size)
{
    return text.size() * RecordingPrinter::CharWidthPerPoint * size;
}

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Pen)
Q_DECLARE_METATYPE(Glyph)

class TestReport : public QObject
{
    Q_OBJECT

    static constexpr float StartX = 1.0f;
    static constexpr float StartY = 2.5f; // a binary fraction: shifts come out exact

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void markup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Glyph>>("printed");
        QTest::addColumn<Pen>("after");
        // clang-format off
        QTest::newRow("unit with superscript") << "kW per m^{2}" << glyphs("kW per m", Normal) + glyphs("2", Raised)
                                               << Normal;
        QTest::newRow("markers without brace, last too") << "a^b_c^" << glyphs("a^b_c^", Normal) << Normal;
        QTest::newRow("lowered again after a subscript") << "H_{2}O {3}"
            << glyphs("H", Normal) + glyphs("2", Lowered) + glyphs("O ", Normal) + glyphs("3", Lowered) << Normal;
        QTest::newRow("superscript never closed") << "m^{2" << glyphs("m", Normal) + glyphs("2", Raised) << Raised;
        QTest::newRow("superscript inside subscript") << "_{a^{b}}c"
            << glyphs("a", Lowered) + glyphs("b", Pen {0, 6}) + glyphs("c", Lowered) << Lowered;
        // clang-format on
    }

    void markup()
    {
        QFETCH(QString, text);
        QFETCH(QList<Glyph>, printed);
        QFETCH(Pen, after);
        RecordingPrinter printer;
        printer.setCurrentX(StartX);
        printer.setCurrentY(StartY);
        QVERIFY(report::MakePrinterText(printer, text).isEmpty());

        QList<Glyph> seen; // one Print per character, each where the one before ended, none ending the line
        float x = StartX;
        for (const RecordingPrinter::Call &call : printer.calls) {
            if (call.name == "FontSize")
                continue;
            QCOMPARE(call.name, "Print");
            QCOMPARE(call.text.size(), 1);
            QCOMPARE(call.x, x);
            seen.append({call.text.at(0), {call.y - StartY, call.fontSize}});
            x += width(call.text, call.fontSize);
        }
        QCOMPARE(seen, printed);
        QCOMPARE((Pen {printer.CurrentY() - StartY, printer.FontSize()}), after);
    }

    void bodies_data()
    {
        QTest::addColumn<Input>("in");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("absent"); // no printed line holds these
        QTest::newRow("outdoor, limited face, decimal comma")
            << Input(Given().storage(100, 20, 6).point(20, 80)) << ','
            << QStringList {"De breedte van de opslag bedraagt 40 m.",
                            "Van de gehele gevel is 40 m in rekening gebracht.",
                            "Het beoordelingspunt is gelegen op 20 m vanaf de zijde van de opslag "
                            "(verplaatsing parallel aan de gevel).",
                            "De berekende transmissie bedraagt 82,48%.",
                            "2,5",
                            "De warmtestralingsflux vanuit de stapel bedraagt 78,6 kW per m2, boven de "
                            "stapel "
                            "neemt de warmtestralingsflux af."}
            << QStringList {"100 m", "2.5"};
        QTest::newRow("outdoor, compact")
            << Input(Given().compact()) << ','
            << QStringList {"De warmtestralingsflux vanuit de stapel bedraagt 46,2 kW "
                            "per m2, boven de stapel neemt de warmtestralingsflux af."}
            << QStringList {"78,6"};
        QTest::newRow("indoor")
            << Input(Given().indoor()) << '.'
            << QStringList {"De berekening wordt uitgevoerd voor een binnenopslag.",
                            "De breedte van het gebouw bedraagt 10 m.",
                            "De hoogte van het gebouw bedraagt 8 m.",
                            "Het beoordelingspunt is gelegen op 5 m vanaf de zijde van de opslag "
                            "(verplaatsing parallel aan de gevel).",
                            "Het beoordelingspunt is gelegen op 5 m vanaf de opslag (verplaatsing loodrecht "
                            "op de gevel).",
                            "Voor de warmtestralingsflux is uitgegaan van 45 kW per m2.",
                            "Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t",
                            "Beoordelingspunt\tBeoordelingshoogte (m)\tWarmtestralingsniveau (kW per m2)"}
            << QStringList {"voor een buitenopslag", "gestapeld hout", "afscherming", "Beoordelingspunt 2"};
    }

    void bodies()
    {
        QFETCH(Input, in);
        QFETCH(char, separator);
        QFETCH(QStringList, printed);
        QFETCH(QStringList, absent);
        Calculated calculated(in, separator);
        RecordingPrinter printer;
        report::composeCalculationReport(calculated.input, printer);
        for (const QString &line : printed)
            QVERIFY2(printer.lines.contains(line), qPrintable(line));
        for (const QString &part : absent)
            QVERIFY2(printer.lines.filter(part).isEmpty(), qPrintable(part));
        // The footer: the user's short date, three blanks and the time without a zone.
        QCOMPARE(printer.lines.at(printer.lines.size() - 2),
                 QLocale().toString(QDate(2026, 3, 7), QLocale::ShortFormat) + "   14:05:09");
    }

    // The engine writes one character; a locale with another kind of separator gets a point.
    void decimalSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<char>("separator");
        QTest::newRow("Dutch") << QLocale(QLocale::Dutch, QLocale::Netherlands) << ',';
        QTest::newRow("C") << QLocale::c() << '.';
        QTest::newRow("Arabic, a separator beyond ASCII") << QLocale(QLocale::Arabic, QLocale::Egypt) << '.';
    }

    void decimalSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(char, separator);
        QCOMPARE(report::decimalSeparatorOf(locale), separator);
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
