#include "calculation_report.h"

#include "make_printer_text.h"
#include "message_box.h"
#include "method_constants.h"
#include "number_text.h"
#include "printer.h"

#include <QLocale>
#include <QRegularExpression>

namespace report {

namespace {

const QString Tab = QStringLiteral("\t");
const QString LineBreak = QStringLiteral("\r\n");

// The kinds of report line. Every line starts at the left margin unless a caller
// moves the print position first.
class ReportWriter
{
public:
    ReportWriter(platform::Printer &printer, char decimalSeparator)
        : m_printer(printer)
        , m_decimalSeparator(decimalSeparator)
    { }

    QString N(double value) const
    {
        return QString::fromStdString(engine::numberToText(value, m_decimalSeparator));
    }

    void at(float x, float y)
    {
        m_printer.setCurrentX(x);
        m_printer.setCurrentY(y);
    }

    void plain(const QString &text, float x = LeftMargin)
    {
        m_printer.setCurrentX(x);
        m_printer.Print(text, true);
    }

    // The text and one empty line below it.
    void spaced(const QString &text, float x = LeftMargin)
    {
        m_printer.setCurrentX(x);
        m_printer.Print(text + LineBreak, true);
    }

    void empty() { m_printer.Print(QString(), true); }

    void heading(const QString &text)
    {
        m_printer.setFontUnderline(true);
        spaced(text);
        m_printer.setFontUnderline(false);
    }

    void markedUp(const QString &text, float x = LeftMargin)
    {
        m_printer.setCurrentX(x);
        m_printer.Print(MakePrinterText(m_printer, text), true);
    }

    static constexpr float LeftMargin = 0.5f;

private:
    platform::Printer &m_printer;
    char m_decimalSeparator;
};

void printTableHeader(platform::Printer &printer, ReportWriter &writer)
{
    printer.setFontBold(true);
    writer.markedUp("Beoordelingspunt" + Tab + "Beoordelingshoogte (m)" + Tab
                        + "Warmtestralingsniveau (kW per m^{2})",
                    2.5f);
    writer.empty();
    printer.setFontBold(false);
    printer.setFontUnderline(false);
}

void printIndoorBody(const ReportInput &input, platform::Printer &printer, ReportWriter &w)
{
    const engine::CalculationState &s = *input.state;
    w.at(ReportWriter::LeftMargin, 5.0f);
    w.heading("Invoergegevens");
    w.plain("De berekening wordt uitgevoerd voor een binnenopslag.");
    w.empty();
    w.spaced("De breedte van het gebouw bedraagt " + w.N(s.StorageWidth) + " m.");
    w.spaced("De hoogte van het gebouw bedraagt " + w.N(s.StorageHeight) + " m.");
    w.spaced("Het beoordelingspunt is gelegen op " + w.N(s.StorageWidth * s.PointFraction)
             + " m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).");
    w.spaced("Het beoordelingspunt is gelegen op " + w.N(s.PointDistance)
             + " m vanaf de opslag (verplaatsing loodrecht op de gevel).");
    w.empty();
    w.heading("Tussenresultaten");
    w.markedUp("Voor de warmtestralingsflux is uitgegaan van " + w.N(engine::kBuildingFluxKw)
               + " kW per m^{2}.");
    w.empty();
    w.empty();
    w.heading("Berekeningsresultaten");
    w.empty();
    w.empty();
    printTableHeader(printer, w);
    // The indoor calculation has one assessment point; its cells stand on the tab stops.
    w.spaced("Beoordelingspunt " + QString::number(1) + Tab.repeated(3) + w.N(input.heights[0])
                 + Tab.repeated(4) + input.levelTexts[0] + Tab,
             3.01f);
}

void printOutdoorRows(const ReportInput &input, platform::Printer &printer, ReportWriter &w)
{
    for (int i = 0; i < 5; ++i) {
        const float y = printer.CurrentY();
        w.at(3.01f, y);
        printer.Print("Beoordelingspunt " + QString::number(i + 1), true);

        const QString height = w.N(input.heights[i]);
        w.at(9.0f - printer.TextWidth(height), y);
        printer.Print(height, true);

        const QString &level = input.levelTexts[i];
        w.at(15.0f - printer.TextWidth(level), y);
        printer.Print(level + LineBreak, true);
    }
}

void printOutdoorBody(const ReportInput &input, platform::Printer &printer, ReportWriter &w)
{
    const engine::CalculationState &s = *input.state;
    w.at(ReportWriter::LeftMargin, 5.0f);
    w.heading("Invoergegevens");
    w.plain("De berekening wordt uitgevoerd voor een buitenopslag.");
    w.empty();
    w.spaced("De breedte van de opslag bedraagt " + w.N(s.StorageWidth) + " m.");
    w.spaced("De diepte van de opslag bedraagt " + w.N(s.StorageDepth) + " m.");
    w.spaced("De hoogte van de opslag bedraagt " + w.N(s.StorageHeight) + " m.");
    w.spaced("Het beoordelingspunt is gelegen op " + w.N(s.StorageWidth * s.PointFraction)
             + " m vanaf de zijde van de opslag (verplaatsing parallel aan de gevel).");
    w.spaced("Het beoordelingspunt is gelegen op " + w.N(s.PointDistance)
             + " m van de opslag (verplaatsing loodrecht op de gevel).");
    w.empty();
    w.spaced(input.Check2 ? "De berekening wordt uitgevoerd voor compact gestapeld hout."
                          : "De berekening wordt uitgevoerd voor niet compact gestapeld hout.");
    if (input.Check1) {
        w.spaced("De hoogte van de afscherming bedraagt " + w.N(s.ScreenHeight) + " m.");
        w.spaced("De afstand van de afscherming tot de opslag bedraagt " + w.N(s.ScreenDistance) + " m.");
        w.spaced("De efficiency van de afscherming is " + w.N(s.ScreenEfficiency) + ".");
    } else {
        w.spaced("Er is geen afscherming aanwezig.");
    }
    w.empty();
    w.heading("Tussenresultaten");
    // Only a face longer than the part taken into account has a smaller stored width.
    if (s.StorageWidth < input.enteredWidth)
        w.spaced("Van de gehele gevel is " + w.N(s.StorageWidth) + " m in rekening gebracht.");
    w.spaced("De berekende vlamhoogte bedraagt " + w.N(s.FlameHeight)
             + " m vanaf de onderzijde van de stapel.");
    w.markedUp("De warmtestralingsflux vanuit de stapel bedraagt " + w.N(engine::PileFluxKw(input.Check2))
               + " kW per m^{2}, boven de stapel neemt de warmtestralingsflux af.");
    w.empty();
    w.spaced("De berekende transmissie bedraagt " + w.N(s.Transmission * 100) + "%.");
    w.empty();
    w.heading("Berekeningsresultaten");
    w.empty();
    w.empty();
    printTableHeader(printer, w);
    printOutdoorRows(input, printer, w);
}

// The user's long time without a time zone: the clock of the office, as on a desk
// calendar.
QString longTimeText(const QLocale &locale, const QTime &time)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return locale.toString(time, format.trimmed());
}

} // namespace

void composeCalculationReport(const ReportInput &input, platform::Printer &printer)
{
    if (!input.state)
        throw std::invalid_argument("report without a calculation");
    ReportWriter writer(printer, input.decimalSeparator);

    printer.setPaperSize(platform::vbPRPSA4);
    printer.setOrientation(platform::vbPRORPortrait);
    printer.setCopies(1);
    printer.setScaleMode(platform::vbCentimeters);
    printer.setScaleLeft(0);
    printer.setScaleTop(0);
    printer.setFontName("Arial");
    printer.setFontSize(10);
    printer.setFontBold(false);

    writer.at(ReportWriter::LeftMargin, 1.2f);
    writer.spaced("Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003");

    // The top rule takes the line settings the printer has on its own.
    printer.Line(0.5f, 1.7f, 20.5f, 1.7f);
    printer.setDrawStyle(0);
    printer.setDrawWidth(2);
    printer.Line(0.5f, 27.5f, 20.5f, 27.5f);

    writer.at(ReportWriter::LeftMargin, 3.0f);
    writer.plain("Berekeningen zijn uitgevoerd op basis van de bepalingsmethode warmtegloedvracht "
                 "opslag hout, opgesteld in het");
    writer.plain("kader van de 8.40 AmvB Bouw- en houtbedrijven milieubeheer en de daarbij "
                 "behorende berekeningsmethode:");
    writer.plain("- bijlage II: Beschrijving berekeningsmethode buitenopslag hout", 3.0f);
    writer.plain("- bijlage III: Beschrijving berekeningsmethode binnenopslag hout", 3.0f);
    writer.empty();
    writer.empty();

    if (input.Check3)
        printIndoorBody(input, printer, writer);
    else
        printOutdoorBody(input, printer, writer);

    printer.PaintPicture(input.logo, 16.5f, 0.5f, 3.0f, 1.0f);

    printer.setFontName("Arial");
    printer.setFontSize(9);
    printer.setFontBold(false);
    const QLocale locale;
    writer.at(ReportWriter::LeftMargin, 27.6f);
    writer.spaced(locale.toString(input.printedAt.date(), QLocale::ShortFormat) + "   "
                  + longTimeText(locale, input.printedAt.time()));
}

bool printCalculationReport(const ReportInput &input, platform::Printer &printer,
                            platform::MessageBox *messageBox)
{
    try {
        composeCalculationReport(input, printer);
        if (messageBox) {
            messageBox->MsgBox("Document geprint op " + printer.DeviceName() + ".",
                               platform::vbOKOnly + platform::vbInformation, "PRINTER MESSAGE");
        }
        // The page goes to the printer only once the user has seen where it goes.
        printer.EndDoc();
        return true;
    } catch (...) {
        // Abandon the page without a word; a printer that cannot even abandon it must
        // not take the program down with it.
        try {
            printer.KillDoc();
        } catch (...) { }
        try {
            printer.EndDoc();
        } catch (...) { }
        return false;
    }
}

} // namespace report
