#include "cli_options.h"

#include "input_ranges.h"
#include "number_text.h"
#include "option_values.h"

#include <QCommandLineParser>
#include <QStringList>

namespace cli {
namespace {

// Single values, in the order of the window's inputs, each with the member it sets and
// the range the method computes.
struct NumberOption
{
    const char *name;
    const char *description; // followed by the range and the default
    double engine::CalculationInput::*member;
    const engine::QuantityRange &range;
    const char *unit;
    const char *note = "";
};

const NumberOption kNumberOptions[] = {
    {"B", "Breedte van de opslag of het gebouw (m)", &engine::CalculationInput::B, engine::kWidthRange, "m"},
    {"D", "Diepte van de opslag (m)", &engine::CalculationInput::D, engine::kDepthRange, "m"},
    {"H", "Hoogte van de opslag of het gebouw (m)", &engine::CalculationInput::H, engine::kHeightRange, "m"},
    {"x", "Afstand van de opslag tot de beoordelingspunten (m)", &engine::CalculationInput::x,
     engine::kDistanceRange, "m"},
    {"y", "Positie van de beoordelingspunten langs de opslag (m)", &engine::CalculationInput::y,
     engine::kPositionRange, "m"},
    {"hs", "Hoogte van de afscherming (m)", &engine::CalculationInput::hs, engine::kScreenHeightRange, "m",
     " Telt alleen met --screen."},
    {"xs", "Afstand van de afscherming tot de opslag (m)", &engine::CalculationInput::xs,
     engine::kScreenDistanceRange, "m", " Met --screen niet groter dan --x."},
    {"K", "Rendement van de afscherming (-)", &engine::CalculationInput::K, engine::kEfficiencyRange, ""},
};

const char *const kHeights = "heights";
const char *const kIndoor = "indoor";
const char *const kCompact = "compact";
const char *const kScreen = "screen";

QString text(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

QString defaultHeights()
{
    QStringList heights;
    for (double z : engine::CalculationInput().heights)
        heights.append(text(z));
    return heights.join(QLatin1Char(','));
}

bool readHeights(const QCommandLineParser &parser, engine::CalculationInput &input, QString &error)
{
    const QString option = QString::fromLatin1(kHeights);
    if (!parser.isSet(option))
        return true;
    const QString value = parser.value(option);
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != int(input.heights.size())) {
        error = QStringLiteral("--heights verwacht precies vijf hoogten, door komma's "
                               "gescheiden (z1,z2,z3,z4,z5), niet '%1'.")
                    .arg(value);
        return false;
    }
    for (int i = 0; i < parts.size(); ++i) {
        if (!readNumber(option, parts[i], engine::kPointHeightRange.method, QStringLiteral("m"),
                        input.heights[std::size_t(i)], error))
            return false;
    }
    return true;
}

} // namespace

CalculationOptions::CalculationOptions()
{
    const engine::CalculationInput defaults;
    for (const NumberOption &option : kNumberOptions) {
        m_options.append(
            QCommandLineOption(QString::fromLatin1(option.name),
                               QStringLiteral("%1, %2, standaard %3.%4")
                                   .arg(QString::fromUtf8(option.description), rangeText(option.range.method),
                                        text(defaults.*option.member), QString::fromUtf8(option.note)),
                               QStringLiteral("getal")));
    }
    m_options.append(QCommandLineOption(
        QString::fromLatin1(kHeights),
        QStringLiteral(
            "Hoogten van de vijf beoordelingspunten (m), door komma's gescheiden, elk %1, standaard %2.")
            .arg(rangeText(engine::kPointHeightRange.method), defaultHeights()),
        QStringLiteral("z1,z2,z3,z4,z5")));
    m_options.append(
        QCommandLineOption(QString::fromLatin1(kIndoor),
                           QStringLiteral("Binnenopslag: één beoordelingspunt op halve gebouwhoogte.")));
    m_options.append(
        QCommandLineOption(QString::fromLatin1(kCompact), QStringLiteral("Compact gestapeld hout.")));
    m_options.append(QCommandLineOption(QString::fromLatin1(kScreen),
                                        QStringLiteral("Afscherming aanwezig (--hs, --xs, --K).")));
}

void CalculationOptions::addTo(QCommandLineParser &parser) const
{
    for (const QCommandLineOption &option : m_options)
        parser.addOption(option);
}

bool CalculationOptions::read(const QCommandLineParser &parser, engine::CalculationInput &input,
                              QString &error) const
{
    for (const NumberOption &option : kNumberOptions) {
        const QString name = QString::fromLatin1(option.name);
        if (parser.isSet(name)
            && !readNumber(name, parser.value(name), option.range.method, QString::fromLatin1(option.unit),
                           input.*option.member, error))
            return false;
    }
    if (!readHeights(parser, input, error))
        return false;
    // An option switches on; what is off stays as it was (the default, or a case file's).
    input.indoor = input.indoor || parser.isSet(QString::fromLatin1(kIndoor));
    input.compact = input.compact || parser.isSet(QString::fromLatin1(kCompact));
    input.screen = input.screen || parser.isSet(QString::fromLatin1(kScreen));
    return true;
}

bool pointBeforeScreen(const engine::CalculationInput &input)
{
    return input.screen && !input.indoor && input.x < input.xs;
}

QString pointBeforeScreenMessage(const engine::CalculationInput &input)
{
    return QStringLiteral(
               "De beoordelingspunten (--x %1) liggen tussen de opslag en de afscherming (--xs %2); "
               "kies --x minstens zo groot als --xs.")
        .arg(text(input.x), text(input.xs));
}

QString helpText(const QString &program, const QList<QCommandLineOption> &options)
{
    QString text = QStringLiteral("Gebruik: %1 [opties]\n"
                                  "Berekent het warmtestralingsniveau (kW/m²) van een brand in een "
                                  "houtopslag op de beoordelingspunten,\n"
                                  "zoals het venster van Warmtegloedvracht dat doet. Getallen met een "
                                  "decimale punt, elk binnen\nzijn bereik (van t/m tot).\n\nOpties:\n")
                       .arg(program);
    QStringList left;
    int width = 0;
    for (const QCommandLineOption &option : options) {
        QStringList names;
        for (const QString &name : option.names())
            names.append((name == QLatin1String("h") ? QStringLiteral("-") : QStringLiteral("--")) + name);
        QString name = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            name += QStringLiteral(" <%1>").arg(option.valueName());
        left.append(name);
        width = qMax(width, int(name.size()));
    }
    for (int i = 0; i < options.size(); ++i)
        text += QStringLiteral("  %1  %2\n").arg(left[i], -width).arg(options[i].description());
    text += QStringLiteral(
        "\nZonder --json één regel per beoordelingspunt. Afsluitcode 0 bij een resultaat, "
        "1 als de berekening\nvoor deze invoer niet gedefinieerd is, 2 bij ongeldige invoer, 3 als het "
        "rapport (--pdf), de\ngrafiek (--plot) of de uitvoer niet geschreven kon worden; een bestaand "
        "bestand blijft dan\nongewijzigd. Elke melding is één regel op de standaardfout.\n");
    return text;
}

} // namespace cli
