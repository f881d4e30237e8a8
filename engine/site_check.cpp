#include "site_check.h"

#include "chunked_run.h"
#include "site_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace engine {
namespace {

constexpr double kSampleSpacing = 0.1;  // m
constexpr double kRefineSpacing = 0.01; // m
// Local maxima of the samples refined with exact levels, highest first. The picture's
// levels lie far closer together than the levels of two separate maxima usually do; a
// long straight stretch of equal levels offers many, of which any serves.
constexpr std::size_t kRefinedMaxima = 8;

struct Sample
{
    int polyline = 0;
    std::size_t index = 0; // in its polyline's samples
    SitePoint at;
    double picture = 0;
};

// The points from a to b at most `spacing` apart, a left out.
void cut(SitePoint a, SitePoint b, double spacing, std::vector<SitePoint> &out)
{
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (!(length > 0))
        return;
    const double pieces = std::ceil(length / spacing);
    const long n = pieces < 1 ? 1 : static_cast<long>(std::min(pieces, 1e7));
    for (long j = 1; j <= n; ++j) {
        const double t = static_cast<double>(j) / static_cast<double>(n);
        out.push_back(j == n ? b : SitePoint {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
    }
}

SiteHighest highestOf(const SiteLevel &level, SitePoint at, double limit)
{
    SiteHighest highest;
    highest.found = true;
    highest.at = at;
    highest.level = level.level;
    highest.storage = level.governing.storage;
    highest.face = level.governing.face;
    highest.height = level.governing.height;
    highest.complies = level.level <= limit;
    return highest;
}

// The faces' answers, the solver run once per distinct face calculation.
bool faceDistances(const Site &site, char decimalSeparator, SiteCheck &check)
{
    using Key = std::tuple<double, double, double, bool, bool, bool, double, double, double>;
    std::map<Key, Solution> solved;
    for (std::size_t s = 0; s < site.storages.size(); ++s) {
        const SiteStorage &storage = site.storages[s];
        for (int k = 1; k <= 4; ++k) {
            const StorageFace face = FaceOf(storage, k);
            // In front of the face's middle, beyond its screen if it has one.
            const FaceScreen *screen = ScreenOf(storage, k);
            const double x = screen ? screen->xs + 1 : 1;
            const CalculationInput input = FaceInput(site, storage, k, {x, face.length / 2});
            const Key key {input.B,      input.D,  input.H,  input.indoor, input.compact,
                           input.screen, input.hs, input.xs, input.K};
            auto found = solved.find(key);
            if (found == solved.end()) {
                const Solution solution =
                    Solve(input, SolveQuantity::Distance, site.limit, site.envelope, decimalSeparator);
                found = solved.emplace(key, solution).first;
            }
            const Solution &solution = found->second;
            if (!solution.ok()) {
                check.status = solution.status;
                check.message = FaceLabel(site, int(s), k) + ": " + solution.message;
                return false;
            }
            FaceDistance distance;
            distance.storage = int(s);
            distance.face = k;
            distance.hasRequired = solution.found;
            distance.required = solution.value;
            distance.bound = solution.bound;
            for (const std::vector<SitePoint> &polyline : site.boundary) {
                double available = 0;
                if (!DistanceInFront(face, polyline, available))
                    continue;
                distance.available =
                    distance.facesBoundary ? std::min(distance.available, available) : available;
                distance.facesBoundary = true;
            }
            distance.complies =
                distance.facesBoundary && distance.hasRequired && distance.required <= distance.available;
            check.faces.push_back(distance);
        }
    }
    return true;
}

} // namespace

std::vector<SitePoint> BoundarySamples(const std::vector<SitePoint> &polyline, double spacing)
{
    std::vector<SitePoint> samples;
    if (polyline.empty())
        return samples;
    samples.push_back(polyline.front());
    for (std::size_t i = 1; i < polyline.size(); ++i)
        cut(polyline[i - 1], polyline[i], spacing, samples);
    return samples;
}

bool DistanceInFront(const StorageFace &face, const std::vector<SitePoint> &polyline, double &distance)
{
    bool found = false;
    const auto take = [&](double x) {
        distance = found ? std::min(distance, x) : x;
        found = true;
    };
    if (polyline.size() == 1) {
        const FacePosition a = PositionBefore(face, polyline.front());
        if (a.x > 0 && a.y >= 0 && a.y <= face.length)
            take(a.x);
    }
    for (std::size_t i = 0; i + 1 < polyline.size(); ++i) {
        const FacePosition a = PositionBefore(face, polyline[i]);
        const FacePosition b = PositionBefore(face, polyline[i + 1]);
        // The part of the segment beside the face: 0 <= y <= length.
        double t0 = 0;
        double t1 = 1;
        const double dy = b.y - a.y;
        if (dy == 0) {
            if (a.y < 0 || a.y > face.length)
                continue;
        } else {
            const double ta = (0 - a.y) / dy;
            const double tb = (face.length - a.y) / dy;
            t0 = std::max(t0, std::min(ta, tb));
            t1 = std::min(t1, std::max(ta, tb));
            if (t0 > t1)
                continue;
        }
        const double x0 = a.x + t0 * (b.x - a.x);
        const double x1 = a.x + t1 * (b.x - a.x);
        if (x0 > 0 && x1 > 0)
            take(std::min(x0, x1));
        else if (x0 > 0 || x1 > 0)
            take(0); // the segment reaches the face's line: points in front come arbitrarily close
    }
    return found;
}

SiteCheck CheckSite(const Site &site, char decimalSeparator, const FieldOptions &options)
{
    SiteCheck check;
    check.limit = site.limit * 1000;
    const detail::SitePicture picture(site, decimalSeparator);
    if (!picture.ok()) {
        check.status = picture.status();
        check.message = picture.message();
        return check;
    }
    if (!faceDistances(site, decimalSeparator, check))
        return check;

    // The boundary: the picture at every sample, then the exact levels around the
    // highest local maxima, every centimetre from the sample before to the sample after.
    std::vector<std::vector<SitePoint>> polylines;
    std::vector<Sample> samples;
    for (std::size_t p = 0; p < site.boundary.size(); ++p) {
        polylines.push_back(BoundarySamples(site.boundary[p], kSampleSpacing));
        for (std::size_t i = 0; i < polylines.back().size(); ++i)
            samples.push_back({int(p), i, polylines.back()[i], 0});
    }
    check.hasBoundary = !site.boundary.empty();
    const auto makeSampler = [&]() -> std::function<void(std::size_t, std::size_t)> {
        auto work = std::make_shared<detail::SiteWorkspace>();
        return [&, work](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i)
                samples[i].picture = picture.highest(samples[i].at, *work);
        };
    };
    detail::RunChunked(samples.size(), 64, options, {}, makeSampler);

    std::vector<const Sample *> maxima;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double level = samples[i].picture;
        if (std::isnan(level))
            continue;
        const bool sameBefore = i > 0 && samples[i - 1].polyline == samples[i].polyline;
        const bool sameAfter = i + 1 < samples.size() && samples[i + 1].polyline == samples[i].polyline;
        if (sameBefore && samples[i - 1].picture > level)
            continue;
        if (sameAfter && samples[i + 1].picture > level)
            continue;
        maxima.push_back(&samples[i]);
    }
    std::stable_sort(maxima.begin(), maxima.end(),
                     [](const Sample *a, const Sample *b) { return a->picture > b->picture; });
    if (maxima.size() > kRefinedMaxima)
        maxima.resize(kRefinedMaxima);

    struct Refined
    {
        int polyline;
        SitePoint at;
        SiteLevel level;
    };
    std::vector<Refined> refined;
    for (const Sample *sample : maxima) {
        const std::vector<SitePoint> &line = polylines[std::size_t(sample->polyline)];
        const SitePoint here = line[sample->index];
        std::vector<SitePoint> points;
        if (sample->index > 0) {
            points.push_back(line[sample->index - 1]);
            cut(line[sample->index - 1], here, kRefineSpacing, points);
        } else {
            points.push_back(here);
        }
        if (sample->index + 1 < line.size())
            cut(here, line[sample->index + 1], kRefineSpacing, points);
        for (SitePoint point : points)
            refined.push_back({sample->polyline, point, {}});
    }
    const auto makeRefiner = [&]() -> std::function<void(std::size_t, std::size_t)> {
        return [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i)
                refined[i].level = SiteLevelAt(site, refined[i].at, decimalSeparator);
        };
    };
    detail::RunChunked(refined.size(), 4, options, {}, makeRefiner);
    for (const Refined &point : refined) {
        if (!point.level.ok()) {
            check.status = point.level.status;
            check.message = point.level.message;
            return check;
        }
        if (point.level.inside || (check.boundary.found && !(point.level.level > check.boundary.level)))
            continue;
        check.boundary = highestOf(point.level, point.at, check.limit);
        check.boundary.polyline = point.polyline;
    }

    bool complies = !check.boundary.found || check.boundary.complies;
    for (const SiteReceiver &receiver : site.receivers) {
        ReceiverCheck one;
        one.name = receiver.name;
        one.at = receiver.at;
        const SiteLevel level = SiteLevelAt(site, receiver.at, decimalSeparator);
        if (!level.ok()) {
            check.status = level.status;
            check.message = level.message;
            return check;
        }
        one.inside = level.inside;
        if (!level.inside) {
            one.highest = highestOf(level, receiver.at, check.limit);
            complies = complies && one.highest.complies;
        }
        check.receivers.push_back(one);
    }
    check.complies = complies;
    return check;
}

} // namespace engine
