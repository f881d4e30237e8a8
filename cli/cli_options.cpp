#include "cli_options.h"

#include <QCommandLineParser>
#include <QLocale>
#include <QStringList>

#include <cmath>

namespace cli {
namespace {

// Single values, in the order of the window's inputs, each with the member it sets.
struct NumberOption
{
    const char *name;
    const char *description;
    double engine::CalculationInput::*member;
};

const NumberOption kNumberOptions[] = {
    {"B", "Breedte van de opslag of het gebouw (m), standaard 10.", &engine::CalculationInput::B},
    {"D", "Diepte van de opslag (m), standaard 10.", &engine::CalculationInput::D},
    {"H", "Hoogte van de opslag of het gebouw (m), standaard 8.", &engine::CalculationInput::H},
    {"x", "Afstand van de opslag tot de beoordelingspunten (m), standaard 5.", &engine::CalculationInput::x},
    {"y", "Positie van de beoordelingspunten langs de opslag (m), standaard 5.",
     &engine::CalculationInput::y},
    {"hs", "Hoogte van de afscherming (m), standaard 0; telt alleen met --screen.",
     &engine::CalculationInput::hs},
    {"xs", "Afstand van de afscherming tot de opslag (m), standaard 0.", &engine::CalculationInput::xs},
    {"K", "Rendement van de afscherming (-), standaard 1.", &engine::CalculationInput::K},
};

const char *const kHeights = "heights";
const char *const kIndoor = "indoor";
const char *const kCompact = "compact";
const char *const kScreen = "screen";

QString notANumber(const QString &option, const QString &value)
{
    return QStringLiteral("Ongeldige waarde '%1' voor --%2: verwacht een getal met een decimale punt.")
        .arg(value, option);
}

} // namespace

bool parseNumber(const QString &text, double &value)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double parsed = c.toDouble(text, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

CalculationOptions::CalculationOptions()
{
    for (const NumberOption &option : kNumberOptions)
        m_options.append(QCommandLineOption(QString::fromLatin1(option.name),
                                            QString::fromUtf8(option.description), QStringLiteral("getal")));
    m_options.append(QCommandLineOption(
        QString::fromLatin1(kHeights),
        QStringLiteral("Hoogten van de vijf beoordelingspunten (m), door komma's gescheiden, "
                       "standaard 2.5,5,7.5,10,12.5."),
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
        if (!parser.isSet(name))
            continue;
        const QString text = parser.value(name);
        if (!parseNumber(text, input.*option.member)) {
            error = notANumber(name, text);
            return false;
        }
    }

    // An efficiency outside 0-1 would take more than the screened part away, or add to it.
    if (!(input.K >= 0 && input.K <= 1)) {
        error = QStringLiteral("Ongeldige waarde '%1' voor --K: het rendement van de afscherming ligt "
                               "tussen 0 en 1.")
                    .arg(parser.value(QStringLiteral("K")));
        return false;
    }

    if (parser.isSet(QString::fromLatin1(kHeights))) {
        const QString text = parser.value(QString::fromLatin1(kHeights));
        const QStringList parts = text.split(QLatin1Char(','));
        if (parts.size() != int(input.heights.size())) {
            error = QStringLiteral("--heights verwacht precies vijf hoogten, door komma's "
                                   "gescheiden (z1,z2,z3,z4,z5), niet '%1'.")
                        .arg(text);
            return false;
        }
        for (int i = 0; i < parts.size(); ++i) {
            if (!parseNumber(parts[i], input.heights[std::size_t(i)])) {
                error = notANumber(QString::fromLatin1(kHeights), parts[i]);
                return false;
            }
        }
    }

    // An option switches on; what is off stays as it was (the default, or a case file's).
    input.indoor = input.indoor || parser.isSet(QString::fromLatin1(kIndoor));
    input.compact = input.compact || parser.isSet(QString::fromLatin1(kCompact));
    input.screen = input.screen || parser.isSet(QString::fromLatin1(kScreen));
    return true;
}

QString helpText(const QString &program, const QList<QCommandLineOption> &options)
{
    QString text = QStringLiteral("Gebruik: %1 [opties]\n"
                                  "Berekent het warmtestralingsniveau (kW/m²) van een brand in een "
                                  "houtopslag op de beoordelingspunten,\n"
                                  "zoals het venster van Warmtegloedvracht dat doet. Getallen met een "
                                  "decimale punt.\n\nOpties:\n")
                       .arg(program);
    QStringList left;
    int width = 0;
    for (const QCommandLineOption &option : options) {
        QString name = QStringLiteral("--") + option.names().join(QStringLiteral(", --"));
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
        "rapport (--pdf) niet\ngeschreven kon worden; een bestaand bestand blijft dan ongewijzigd.\n");
    return text;
}

} // namespace cli
