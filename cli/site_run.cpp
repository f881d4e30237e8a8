#include "site_run.h"

#include "number_text.h"
#include "safe_file.h"
#include "site_map.h"

#include <QJsonArray>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace cli {
namespace {

// The contour lines besides the limit's (kW/m²).
const double kContourLevels[] = {5, 10, 20, 30};
// The automatic grid of --contours: at most this many nodes a side, no finer than this.
constexpr double kMostNodes = 400;
constexpr double kFinestStep = 0.25;  // m
constexpr double kWidestMargin = 500; // m
// The most points of a site's exact --grid.
constexpr long long kMostSitePoints = 250000;
constexpr long long kMostEnvelopePoints = 10000;

QString shown(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

QJsonArray point(engine::SitePoint at)
{
    return QJsonArray {at.x, at.y};
}

QString pointText(engine::SitePoint at)
{
    return QStringLiteral("(%1, %2)").arg(shown(at.x), shown(at.y));
}

QString label(const engine::Site &site, int storage)
{
    return QString::fromStdString(engine::StorageLabel(site, storage));
}

QString verdict(bool complies)
{
    return complies ? QStringLiteral("voldoet") : QStringLiteral("voldoet niet");
}

QJsonObject highestJson(const engine::Site &site, const engine::SiteHighest &highest)
{
    return {{"highest", highest.level}, {"at", point(highest.at)},  {"storage", label(site, highest.storage)},
            {"face", highest.face},     {"height", highest.height}, {"complies", highest.complies}};
}

// "12.34 kW/m² bij (40, -15), van Stapel A zijde 1 op 5 m hoogte: voldoet"
QString highestText(const engine::Site &site, const engine::SiteHighest &highest)
{
    return QStringLiteral("%1 kW/m² bij %2, van %3 zijde %4 op %5 m hoogte: %6")
        .arg(shown(highest.level / 1000), pointText(highest.at), label(site, highest.storage))
        .arg(highest.face)
        .arg(shown(highest.height), verdict(highest.complies));
}

// A step for the automatic grid: 1, 2 or 5 times a power of ten, or a quarter.
double roundStep(double step)
{
    if (!(step > kFinestStep))
        return kFinestStep;
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (factor * power >= step)
            return factor * power;
    }
    return 10 * power;
}

// The site with room around it for the lowest contour level.
engine::SiteGrid automaticGrid(const engine::Site &site, double lowestKw)
{
    const engine::SiteBox box = engine::SiteExtent(site);
    double margin = 0;
    for (const engine::SiteStorage &storage : site.storages) {
        for (int face = 1; face <= 2; ++face) {
            const engine::StorageFace geometry = engine::FaceOf(storage, face);
            engine::Site bare = site;
            engine::SiteStorage plain = storage;
            plain.screens.clear();
            const engine::CalculationInput input =
                engine::FaceInput(bare, plain, face, {1, geometry.length / 2});
            const engine::Solution solution =
                engine::Solve(input, engine::SolveQuantity::Distance, lowestKw, site.envelope);
            margin = std::max(margin, solution.found ? solution.value : kWidestMargin);
        }
    }
    margin = std::min(kWidestMargin, margin * 1.1 + 2);
    const double west = box.west - margin;
    const double east = box.east + margin;
    const double south = box.south - margin;
    const double north = box.north + margin;
    const double step = roundStep(std::max(east - west, north - south) / (kMostNodes - 1));
    engine::SiteGrid grid;
    const double x0 = std::floor(west / step) * step;
    const double y0 = std::floor(south / step) * step;
    for (int i = 0; i < int(kMostNodes) && x0 + i * step <= east + step; ++i)
        grid.x.push_back(x0 + i * step);
    for (int j = 0; j < int(kMostNodes) && y0 + j * step <= north + step; ++j)
        grid.y.push_back(y0 + j * step);
    return grid;
}

engine::SiteGrid requestedGrid(const LimitRequest &request)
{
    engine::SiteGrid grid;
    for (long long i = 0; i < request.gridX.count; ++i)
        grid.x.push_back(request.gridX.value(i));
    for (long long j = 0; j < request.gridY.count; ++j)
        grid.y.push_back(request.gridY.value(j));
    return grid;
}

} // namespace

QJsonObject SiteAnswers::json() const
{
    QJsonObject object {{"limit", site->limit}, {"complies", check.complies}};
    object.insert("boundary",
                  check.boundary.found ? QJsonValue(highestJson(*site, check.boundary))
                                       : QJsonValue(QJsonValue::Null));
    QJsonArray receivers;
    for (const engine::ReceiverCheck &receiver : check.receivers) {
        QJsonObject one = highestJson(*site, receiver.highest);
        one.insert("name", QString::fromStdString(receiver.name));
        one.insert("at", point(receiver.at));
        receivers.append(one);
    }
    object.insert("receivers", receivers);
    QJsonArray faces;
    for (const engine::FaceDistance &face : check.faces) {
        faces.append(QJsonObject {
            {"storage", label(*site, face.storage)},
            {"face", face.face},
            {"required", face.hasRequired ? QJsonValue(face.required) : QJsonValue(QJsonValue::Null)},
            {"available", face.facesBoundary ? QJsonValue(face.available) : QJsonValue(QJsonValue::Null)},
            {"complies", face.facesBoundary ? QJsonValue(face.complies) : QJsonValue(QJsonValue::Null)}});
    }
    object.insert("faces", faces);
    return object;
}

QString SiteAnswers::plain() const
{
    QString text = QStringLiteral("\nSituatie, grenswaarde %1 kW/m²:\n").arg(shown(site->limit));
    if (check.hasBoundary) {
        if (check.boundary.found)
            text += QStringLiteral("Perceelgrens: hoogste %1\n").arg(highestText(*site, check.boundary));
        else
            text += QStringLiteral("Perceelgrens: ligt geheel binnen de opslagen\n");
    }
    for (std::size_t i = 0; i < check.receivers.size(); ++i) {
        const engine::ReceiverCheck &receiver = check.receivers[i];
        const QString name =
            receiver.name.empty() ? QString::number(i + 1) : QString::fromStdString(receiver.name);
        text += QStringLiteral("Ontvanger %1: %2\n").arg(name, highestText(*site, receiver.highest));
    }
    for (const engine::FaceDistance &face : check.faces) {
        QString line =
            QString::fromStdString(engine::FaceLabel(*site, face.storage, face.face)) + QStringLiteral(": ");
        if (!face.hasRequired)
            line += QStringLiteral("geen afstand tot 1000 m voldoet");
        else if (face.bound == engine::SolutionBound::Lowest)
            line += QStringLiteral("nodig %1 m (elke afstand voldoet)").arg(shown(face.required));
        else
            line += QStringLiteral("nodig %1 m").arg(shown(face.required));
        if (face.facesBoundary)
            line += QStringLiteral(", aanwezig %1 m: %2").arg(shown(face.available), verdict(face.complies));
        else
            line += QStringLiteral("; geen perceelgrens ervoor");
        text += line + QLatin1Char('\n');
    }
    text += QStringLiteral("Situatie: %1\n").arg(verdict(check.complies));
    return text;
}

bool answerSite(const engine::Site &site, SiteAnswers &answers, QString &error)
{
    answers.site = &site;
    answers.check = engine::CheckSite(site);
    if (!answers.check.ok()) {
        error = QString::fromStdString(answers.check.message).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return false;
    }
    return true;
}

bool siteGridAllowed(const engine::Site &site, const LimitRequest &request, QString &error)
{
    if (!request.grid)
        return true;
    const bool envelope = site.envelope && !request.atHeightSet;
    const long long most = envelope ? kMostEnvelopePoints : kMostSitePoints;
    if (request.gridX.count * request.gridY.count <= most)
        return true;
    error =
        QStringLiteral("--grid over een situatie geeft %1 punten; ten hoogste %2%3. Kies een grotere stap.")
            .arg(request.gridX.count * request.gridY.count)
            .arg(most)
            .arg(envelope ? QStringLiteral(" met de omhullende") : QString());
    return false;
}

bool siteGridTable(const engine::Site &site, const LimitRequest &request, GridTable &table, QString &error)
{
    engine::Site at = site;
    if (request.atHeightSet) {
        at.heights.fill(request.atHeight);
        at.envelope = false;
    }
    const engine::SiteGrid grid = requestedGrid(request);
    const engine::SiteMap map = engine::CalculateSiteHighest(at, grid);
    if (!map.ok()) {
        error = QString::fromStdString(map.message).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return false;
    }
    // The map runs row by row (y outer), the table column by column (x outer).
    table.x = grid.x;
    table.y = grid.y;
    table.levels.resize(grid.x.size() * grid.y.size());
    for (std::size_t i = 0; i < grid.x.size(); ++i) {
        for (std::size_t j = 0; j < grid.y.size(); ++j)
            table.levels[i * grid.y.size() + j] = map.levels[j * grid.x.size() + i];
    }
    return true;
}

ContourFailure writeContours(const engine::Site &site, const CaseRequest &cases, const LimitRequest &request,
                             QString &error)
{
    std::vector<double> levels(std::begin(kContourLevels), std::end(kContourLevels));
    levels.push_back(site.limit);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

    const engine::SiteGrid grid = request.grid ? requestedGrid(request) : automaticGrid(site, levels.front());
    if (grid.x.size() < 2 || grid.y.size() < 2) {
        error = QStringLiteral("--contours vraagt een raster van minstens 2 bij 2 punten.");
        return ContourFailure::Undefined;
    }
    const engine::SiteMap map = engine::CalculateSitePicture(site, grid);
    if (!map.ok()) {
        error = QString::fromStdString(map.message).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return ContourFailure::Undefined;
    }
    const engine::ScalarGrid scalar = engine::SiteScalarGrid(grid, map);
    std::vector<gis::LevelLines> lines;
    for (double level : levels)
        lines.push_back({level, engine::ContourLines(scalar, level)});
    std::string bytes;
    std::string reason;
    if (!gis::ContourDocument(lines, cases.contoursFormat, bytes, reason)) {
        error = QStringLiteral("Geen contourbestand: %1").arg(QString::fromStdString(reason));
        return ContourFailure::NoFile;
    }
    QString written;
    if (!platform::SafeFile::write(cases.contoursPath, QByteArray(bytes.data(), qsizetype(bytes.size())),
                                   &written)) {
        error = QStringLiteral("Geen contourbestand: %1").arg(written);
        return ContourFailure::NoFile;
    }
    return ContourFailure::None;
}

} // namespace cli
