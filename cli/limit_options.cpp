#include "limit_options.h"

#include "level_plot.h"
#include "option_values.h"

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

// The quantities a sweep can run through, with their ranges.
const engine::QuantityRange *const kSweepQuantities[] = {
    &engine::kDistanceRange, &engine::kPositionRange,     &engine::kHeightRange,         &engine::kWidthRange,
    &engine::kDepthRange,    &engine::kScreenHeightRange, &engine::kScreenDistanceRange,
};

// A site's coordinates (m): its own, or the national grid's (RD New) as they are.
constexpr engine::QuantityRange kSiteCoordinateRange {"x", {-1e6, 1e6}, {-1e6, 1e6}, 1};

QString name(const char *option)
{
    return QString::fromLatin1(option);
}

const engine::QuantityRange *sweepQuantity(const QString &symbol)
{
    for (const engine::QuantityRange *quantity : kSweepQuantities) {
        if (symbol == QLatin1String(quantity->name))
            return quantity;
    }
    return nullptr;
}

QString sweepSymbols()
{
    QStringList symbols;
    for (const engine::QuantityRange *quantity : kSweepQuantities)
        symbols.append(QString::fromLatin1(quantity->name));
    return symbols.join(QStringLiteral(", "));
}

bool readLimit(const QCommandLineParser &parser, LimitRequest &request, QString &error)
{
    if (parser.isSet(name(kLimit))
        && !readNumber(name(kLimit), parser.value(name(kLimit)), engine::kLimitRange.method,
                       QStringLiteral("kW/m²"), request.limitKw, error))
        return false;
    request.check = parser.isSet(name(kCheck)) || parser.isSet(name(kLimit));
    request.envelope = parser.isSet(name(kEnvelope));
    return true;
}

bool readSolve(const QCommandLineParser &parser, LimitRequest &request, QString &error)
{
    if (!parser.isSet(name(kSolve)))
        return true;
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
    return true;
}

bool readSweep(const QCommandLineParser &parser, LimitRequest &request, QString &error)
{
    if (!parser.isSet(name(kSweep)))
        return true;
    const QString text = parser.value(name(kSweep));
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const engine::QuantityRange *quantity = equals < 0 ? nullptr : sweepQuantity(text.left(equals));
    if (!quantity) {
        error =
            QStringLiteral("Onbekende grootheid in --sweep '%1': verwacht Q=VAN:TOT:STAP met Q een van %2.")
                .arg(text, sweepSymbols());
        return false;
    }
    if (!parseRange(*quantity, text.mid(equals + 1), name(kSweep), request.sweepRange, error))
        return false;
    // Five levels per row.
    if (request.sweepRange.count * 5 > kMaxPoints) {
        error = QStringLiteral("--sweep %1 geeft meer dan %2 rijen.").arg(text).arg(kMaxPoints / 5);
        return false;
    }
    request.sweep = true;
    return true;
}

bool readGrid(const QCommandLineParser &parser, LimitRequest &request, QString &error, bool siteCoordinates)
{
    if (!parser.isSet(name(kGrid)))
        return true;
    const QString text = parser.value(name(kGrid));
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2 || !parts[0].startsWith(QLatin1String("x="))
        || !parts[1].startsWith(QLatin1String("y="))) {
        error = QStringLiteral("Ongeldig raster '%1' voor --grid: verwacht x=VAN:TOT:STAP,y=VAN:TOT:STAP.")
                    .arg(text);
        return false;
    }
    const engine::QuantityRange &x = siteCoordinates ? kSiteCoordinateRange : engine::kDistanceRange;
    const engine::QuantityRange &y = siteCoordinates ? kSiteCoordinateRange : engine::kPositionRange;
    if (!parseRange(x, parts[0].mid(2), name(kGrid), request.gridX, error)
        || !parseRange(y, parts[1].mid(2), name(kGrid), request.gridY, error))
        return false;
    if (request.gridX.count * request.gridY.count > kMaxPoints) {
        error = QStringLiteral("--grid %1 geeft meer dan %2 punten.").arg(text).arg(kMaxPoints);
        return false;
    }
    request.grid = true;
    return true;
}

bool readAtHeight(const QCommandLineParser &parser, LimitRequest &request, QString &error)
{
    if (!parser.isSet(name(kAtHeight)))
        return true;
    if (!request.grid) {
        error = QStringLiteral("--at-height hoort bij --grid.");
        return false;
    }
    request.atHeightSet = true;
    return readNumber(name(kAtHeight), parser.value(name(kAtHeight)), engine::kPointHeightRange.method,
                      QStringLiteral("m"), request.atHeight, error);
}

bool readPlot(const QCommandLineParser &parser, LimitRequest &request, QString &error)
{
    if (!parser.isSet(name(kPlot)))
        return true;
    request.plotFile = parser.value(name(kPlot));
    plot::Format format;
    if (!plot::formatForFile(request.plotFile, format)) {
        error = QStringLiteral("Onbekend bestandstype '%1' voor --plot: gebruik .svg, .png of .pdf.")
                    .arg(request.plotFile);
        return false;
    }
    return true;
}

} // namespace

double Range::value(long long i) const
{
    const double value = from + static_cast<double>(i) * step;
    // Back on the written grid where that grid is finer than the double's own.
    if (decimals <= 15) {
        const double scale = std::pow(10.0, decimals);
        if (std::abs(value) * scale < 0x1p52)
            return std::round(value * scale) / scale + 0.0;
    }
    return value + 0.0;
}

std::vector<double> Range::values() const
{
    std::vector<double> all;
    all.reserve(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i)
        all.push_back(value(i));
    return all;
}

bool LimitRequest::tableMovesPoint() const
{
    return grid
        || (sweep
            && (sweepRange.quantity == QLatin1String("x") || sweepRange.quantity == QLatin1String("xs")));
}

bool parseRange(const engine::QuantityRange &quantity, const QString &text, const QString &option,
                Range &range, QString &error)
{
    const QString symbol = QString::fromLatin1(quantity.name);
    const QStringList parts = text.split(QLatin1Char(':'));
    double values[3] = {0, 0, 0};
    bool numbers = parts.size() == 3;
    for (int i = 0; numbers && i < 3; ++i)
        numbers = parseNumber(parts[i], values[i]);
    if (!numbers) {
        error =
            QStringLiteral("Ongeldig bereik '%1' voor --%2: verwacht %3=VAN:TOT:STAP met getallen met een "
                           "decimale punt.")
                .arg(text, option, symbol);
        return false;
    }
    range.quantity = symbol;
    range.from = values[0];
    range.to = values[1];
    range.step = values[2];
    range.decimals = std::max(writtenDecimals(parts[0]), writtenDecimals(parts[2]));
    if (!quantity.method.contains(range.from) || !quantity.method.contains(range.to)) {
        error = QStringLiteral("In --%1 %2=%3 ligt VAN of TOT buiten het bereik %4 m van %2.")
                    .arg(option, symbol, text, rangeText(quantity.method));
        return false;
    }
    if (!kStepRange.contains(range.step)) {
        error = QStringLiteral("De stap in --%1 %2=%3 ligt buiten het bereik %4 m.")
                    .arg(option, symbol, text, rangeText(kStepRange));
        return false;
    }
    if (range.to < range.from) {
        error = QStringLiteral("In --%1 %2=%3 ligt TOT onder VAN.").arg(option, symbol, text);
        return false;
    }
    // Both ends and the step are bounded, so the count is too; the tolerance keeps TO
    // itself when the division lands a hair below a whole number.
    const double steps = std::floor((range.to - range.from) / range.step * (1 + 1e-12) + 1e-9);
    if (!(steps < double(kMaxPoints))) {
        error =
            QStringLiteral("--%1 %2=%3 geeft meer dan %4 punten.").arg(option, symbol, text).arg(kMaxPoints);
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
    const QString limitRange = rangeText(engine::kLimitRange.method);
    const QString heightRange = rangeText(engine::kPointHeightRange.method);
    const QString stepRange = rangeText(kStepRange);
    m_options = {
        QCommandLineOption(
            name(kLimit),
            QStringLiteral("Grenswaarde (kW/m²) voor --check, --solve en --plot, %1, standaard 15.")
                .arg(limitRange),
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
                           "(%1; VAN en TOT in het bereik van die optie) als CSV, stap %2 m.")
                .arg(sweepSymbols(), stepRange),
            QStringLiteral("Q=VAN:TOT:STAP")),
        QCommandLineOption(
            name(kGrid),
            QStringLiteral("Schrijft het niveau (kW/m²) in een raster van punten in bovenaanzicht "
                           "als CSV (x, y, niveau; bereik van --x en --y, met een situatie %1), stap %2 m.")
                .arg(rangeText(kSiteCoordinateRange.method), stepRange),
            QStringLiteral("x=VAN:TOT:STAP,y=VAN:TOT:STAP")),
        QCommandLineOption(
            name(kAtHeight),
            QStringLiteral("Hoogte van het raster van --grid (m), %1, standaard die van punt 1.")
                .arg(heightRange),
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

bool LimitOptions::read(const QCommandLineParser &parser, LimitRequest &request, QString &error,
                        bool siteCoordinates) const
{
    if (!readLimit(parser, request, error) || !readSolve(parser, request, error)
        || !readSweep(parser, request, error) || !readGrid(parser, request, error, siteCoordinates)
        || !readAtHeight(parser, request, error) || !readPlot(parser, request, error))
        return false;
    if (request.sweep && request.grid) {
        error = QStringLiteral("--sweep en --grid gaan niet samen; kies er één.");
        return false;
    }
    return true;
}

} // namespace cli
