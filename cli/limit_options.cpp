#include "limit_options.h"

#include "cli_options.h"
#include "level_plot.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cmath>
#include <cstring>

namespace cli {
namespace {

const char *const kLimit = "limit";
const char *const kCheck = "check";
const char *const kEnvelope = "envelope";
const char *const kSolve = "solve";
const char *const kSweep = "sweep";
const char *const kGrid = "grid";
const char *const kAtHeight = "at-height";
const char *const kPlot = "plot";

const char *const kSweepQuantities[] = {"x", "y", "H", "B", "D", "hs", "xs"};

QString name(const char *option)
{
    return QString::fromLatin1(option);
}

} // namespace

double Range::value(long long i) const
{
    return QString::number(from + static_cast<double>(i) * step, 'g', 12).toDouble();
}

bool parseRange(const QString &quantity, const QString &text, const QString &option, Range &range,
                QString &error)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    double values[3] = {0, 0, 0};
    bool numbers = parts.size() == 3;
    for (int i = 0; numbers && i < 3; ++i)
        numbers = parseNumber(parts[i], values[i]);
    if (!numbers) {
        error =
            QStringLiteral("Ongeldig bereik '%1' voor --%2: verwacht %3=VAN:TOT:STAP met getallen met een "
                           "decimale punt.")
                .arg(text, option, quantity);
        return false;
    }
    range.quantity = quantity;
    range.from = values[0];
    range.to = values[1];
    range.step = values[2];
    if (!(range.step > 0)) {
        error = QStringLiteral("De stap in --%1 %2=%3 moet groter zijn dan 0.").arg(option, quantity, text);
        return false;
    }
    if (range.to < range.from) {
        error = QStringLiteral("In --%1 %2=%3 ligt TOT onder VAN.").arg(option, quantity, text);
        return false;
    }
    const double steps = std::floor((range.to - range.from) / range.step * (1 + 1e-12) + 1e-9);
    if (!(steps < double(kMaxPoints))) {
        error = QStringLiteral("--%1 %2=%3 geeft meer dan %4 punten.")
                    .arg(option, quantity, text)
                    .arg(kMaxPoints);
        return false;
    }
    range.count = static_cast<long long>(steps) + 1;
    return true;
}

bool wantsPlot(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        for (const char *form : {"--plot", "-plot"}) {
            const std::size_t n = std::strlen(form);
            if (std::strncmp(arg, form, n) == 0 && (arg[n] == '\0' || arg[n] == '='))
                return true;
        }
    }
    return false;
}

LimitOptions::LimitOptions()
{
    m_options = {
        QCommandLineOption(
            name(kLimit),
            QStringLiteral("Grenswaarde (kW/m²) voor --check, --solve en --plot, standaard 15."),
            QStringLiteral("getal")),
        QCommandLineOption(name(kCheck), QStringLiteral("Toetst het hoogste niveau aan de grenswaarde.")),
        QCommandLineOption(name(kEnvelope),
                           QStringLiteral("Toetst elke hoogte van 0 m tot het hoogste beoordelingspunt "
                                          "(op 0.01 m), niet alleen de vijf punten.")),
        QCommandLineOption(
            name(kSolve),
            QStringLiteral("Zoekt de kleinste afstand, de grootste hoogte of de grootste breedte "
                           "die aan de grenswaarde voldoet."),
            QStringLiteral("distance|height|width")),
        QCommandLineOption(
            name(kSweep),
            QStringLiteral("Schrijft de niveaus (kW/m²) voor een reeks waarden van één grootheid "
                           "(x, y, H, B, D, hs of xs) als CSV."),
            QStringLiteral("Q=VAN:TOT:STAP")),
        QCommandLineOption(
            name(kGrid),
            QStringLiteral("Schrijft het niveau (kW/m²) in een raster van punten in bovenaanzicht "
                           "als CSV (x, y, niveau)."),
            QStringLiteral("x=VAN:TOT:STAP,y=VAN:TOT:STAP")),
        QCommandLineOption(name(kAtHeight),
                           QStringLiteral("Hoogte van het raster van --grid (m), standaard die van punt 1."),
                           QStringLiteral("getal")),
        QCommandLineOption(
            name(kPlot),
            QStringLiteral("Tekent het niveau tegen de afstand in een bestand (.svg, .png of .pdf)."),
            QStringLiteral("bestand")),
    };
}

void LimitOptions::addTo(QCommandLineParser &parser) const
{
    for (const QCommandLineOption &option : m_options)
        parser.addOption(option);
}

bool LimitOptions::read(const QCommandLineParser &parser, LimitRequest &request, QString &error) const
{
    if (parser.isSet(name(kLimit))) {
        const QString text = parser.value(name(kLimit));
        if (!parseNumber(text, request.limitKw) || !(request.limitKw > 0)) {
            error = QStringLiteral("Ongeldige waarde '%1' voor --limit: verwacht een getal groter dan 0 "
                                   "met een decimale punt.")
                        .arg(text);
            return false;
        }
    }
    request.check = parser.isSet(name(kCheck)) || parser.isSet(name(kLimit));
    request.envelope = parser.isSet(name(kEnvelope));

    if (parser.isSet(name(kSolve))) {
        const QString text = parser.value(name(kSolve));
        request.solve = true;
        if (text == QLatin1String("distance")) {
            request.quantity = engine::SolveQuantity::Distance;
        } else if (text == QLatin1String("height")) {
            request.quantity = engine::SolveQuantity::Height;
        } else if (text == QLatin1String("width")) {
            request.quantity = engine::SolveQuantity::Width;
        } else {
            error = QStringLiteral("Onbekende grootheid '%1' voor --solve: kies distance, height of width.")
                        .arg(text);
            return false;
        }
    }

    if (parser.isSet(name(kSweep))) {
        const QString text = parser.value(name(kSweep));
        const int equals = text.indexOf(QLatin1Char('='));
        const QString quantity = text.left(equals);
        bool known = false;
        for (const char *candidate : kSweepQuantities)
            known = known || quantity == QLatin1String(candidate);
        if (equals < 0 || !known) {
            error =
                QStringLiteral("Onbekende grootheid in --sweep '%1': verwacht Q=VAN:TOT:STAP met Q een van "
                               "x, y, H, B, D, hs, xs.")
                    .arg(text);
            return false;
        }
        if (!parseRange(quantity, text.mid(equals + 1), name(kSweep), request.sweepRange, error))
            return false;
        // Five levels per row.
        if (request.sweepRange.count * 5 > kMaxPoints) {
            error = QStringLiteral("--sweep %1 geeft meer dan %2 rijen.").arg(text).arg(kMaxPoints / 5);
            return false;
        }
        request.sweep = true;
    }

    if (parser.isSet(name(kGrid))) {
        const QString text = parser.value(name(kGrid));
        const QStringList parts = text.split(QLatin1Char(','));
        if (parts.size() != 2 || !parts[0].startsWith(QLatin1String("x="))
            || !parts[1].startsWith(QLatin1String("y="))) {
            error =
                QStringLiteral("Ongeldig raster '%1' voor --grid: verwacht x=VAN:TOT:STAP,y=VAN:TOT:STAP.")
                    .arg(text);
            return false;
        }
        if (!parseRange(QStringLiteral("x"), parts[0].mid(2), name(kGrid), request.gridX, error)
            || !parseRange(QStringLiteral("y"), parts[1].mid(2), name(kGrid), request.gridY, error))
            return false;
        if (request.gridX.count * request.gridY.count > kMaxPoints) {
            error = QStringLiteral("--grid %1 geeft meer dan %2 punten.").arg(text).arg(kMaxPoints);
            return false;
        }
        request.grid = true;
    }
    if (parser.isSet(name(kAtHeight))) {
        const QString text = parser.value(name(kAtHeight));
        if (!request.grid) {
            error = QStringLiteral("--at-height hoort bij --grid.");
            return false;
        }
        if (!parseNumber(text, request.atHeight)) {
            error = QStringLiteral("Ongeldige waarde '%1' voor --at-height: verwacht een getal met een "
                                   "decimale punt.")
                        .arg(text);
            return false;
        }
        request.atHeightSet = true;
    }
    if (request.sweep && request.grid) {
        error = QStringLiteral("--sweep en --grid gaan niet samen; kies er één.");
        return false;
    }

    if (parser.isSet(name(kPlot))) {
        request.plotFile = parser.value(name(kPlot));
        plot::Format format;
        if (!plot::formatForFile(request.plotFile, format)) {
            error = QStringLiteral("Onbekend bestandstype '%1' voor --plot: gebruik .svg, .png of .pdf.")
                        .arg(request.plotFile);
            return false;
        }
    }
    return true;
}

} // namespace cli
