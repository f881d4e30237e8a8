#include "site_picture.h"

#include "corner_view_factor.h"
#include "kernel.h"

#include <algorithm>
#include <cmath>

namespace engine::detail {
namespace {

// The method moves every point this far from the face.
constexpr double kDistanceOffset = 1e-8; // m

// The envelope's scan of the heights for the picture: every 50 cm, then the highest
// local maximum (and a second one within 2 % of it) narrowed down to 1 cm.
constexpr long kEnvelopeStep = 50;
constexpr std::size_t kRefinedMaxima = 2;
constexpr double kSecondPeakShare = 0.98;
constexpr double kEnvelopeResolution = 0.01; // m
constexpr double kGolden = 0.6180339887498949;

// A bound may be loose, never low: single precision and the kernel's rounding stay far
// inside this.
constexpr double kBoundShare = 1e-3;
constexpr double kBoundMargin = 1; // W/m²
constexpr double kPiExact = 3.14159265358979323846;
// A building's facade radiates 45 kW/m².
constexpr double kFacadeRadiance = 45000; // W/m²

double metres(long centimetres)
{
    return static_cast<double>(centimetres) / 100;
}

// The heights of the highest local maxima of samples sorted by height.
std::vector<double> maxima(const std::vector<std::pair<double, double>> &samples)
{
    std::vector<std::pair<double, double>> found;
    const std::size_t n = samples.size();
    for (std::size_t j = 0; j < n; ++j) {
        const bool left = j == 0 || samples[j].second >= samples[j - 1].second;
        const bool right = j + 1 == n || samples[j].second >= samples[j + 1].second;
        if (left && right)
            found.push_back(samples[j]);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    std::vector<double> heights;
    for (std::size_t j = 0; j < found.size() && j < kRefinedMaxima; ++j)
        heights.push_back(found[j].first);
    return heights;
}

double levelOfSample(const std::vector<std::pair<double, double>> &samples, double height)
{
    for (const auto &sample : samples) {
        if (sample.first == height)
            return sample.second;
    }
    return 0;
}

} // namespace

SitePicture::SitePicture(const Site &site, char decimalSeparator)
    : m_site(site)
{
    const std::vector<double> five(site.heights.begin(), site.heights.end());
    m_lowest = *std::min_element(five.begin(), five.end());
    m_top = *std::max_element(five.begin(), five.end());
    m_scan = five;
    if (site.envelope) {
        m_lowest = 0;
        const long topCm = static_cast<long>(std::floor(std::min(m_top, 1e4) * 100 + 1e-7));
        for (long z = 0; z <= topCm; z += kEnvelopeStep)
            m_scan.push_back(metres(z));
        if (m_top >= 0)
            m_scan.push_back(m_top);
        std::sort(m_scan.begin(), m_scan.end());
        m_scan.erase(std::unique(m_scan.begin(), m_scan.end()), m_scan.end());
    }

    for (std::size_t s = 0; s < site.storages.size(); ++s) {
        const SiteStorage &storage = site.storages[s];
        for (int k = 1; k <= 4; ++k) {
            auto face = std::make_unique<PreparedFace>();
            face->storage = int(s);
            face->face = k;
            face->indoor = storage.indoor;
            face->geometry = FaceOf(storage, k);
            const FaceScreen *screen = ScreenOf(storage, k);
            face->screened = screen && !storage.indoor;
            face->screenDistance = screen ? screen->xs : 0;
            // A point just beyond the screen, and one without it.
            face->plain = FaceInput(site, storage, k, {0, 0});
            face->shielded = face->screened ? FaceInput(site, storage, k, {screen->xs + 1, 0}) : face->plain;
            const CalculationResult prepared = prepareStorage(face->plain, face->state, decimalSeparator);
            if (!prepared.ok()) {
                m_status = prepared.status;
                m_message = FaceLabel(site, int(s), k) + ": " + prepared.message;
                m_faces.clear();
                return;
            }
            face->plainPoint = storagePoint(face->state, false);
            CalculationState shieldedState;
            prepareStorage(face->shielded, shieldedState, decimalSeparator);
            face->shieldedPoint = storagePoint(shieldedState, face->shielded.screen);
            if (!storage.indoor) {
                computeFlameProfile(face->state, storage.compact, face->profile);
                for (int i = 1; i <= kFlameStrips; ++i) {
                    const double radiance = kSigma * face->profile.fourthPower[i];
                    face->radiance[i] = static_cast<float>(radiance);
                    face->hottest = std::max(face->hottest, radiance);
                }
                for (double z : m_scan) {
                    SiteEdges &above = face->heightsAbove.emplace_back();
                    for (int i = 0; i <= kFlameStrips; ++i)
                        above[i] = static_cast<float>(z - face->profile.edge[i]);
                }
            }
            m_faces.push_back(std::move(face));
        }
    }
}

bool SitePicture::collect(SitePoint q, SiteWorkspace &work) const
{
    work.candidates.clear();
    for (std::size_t first = 0; first < m_faces.size(); first += 4) {
        FaceCandidate found[4];
        int count = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const PreparedFace &face = *m_faces[first + k];
            const FacePosition position = PositionBefore(face.geometry, q);
            if (position.x > 0)
                found[count++] = {&face, position, 0, 0, false};
        }
        if (count == 0)
            return false;
        for (int i = 0; i < count; ++i) {
            found[i].bound = quickBound(*found[i].face, found[i].position);
            work.candidates.push_back(found[i]);
        }
    }
    std::stable_sort(work.candidates.begin(), work.candidates.end(),
                     [](const FaceCandidate &a, const FaceCandidate &b) { return a.bound > b.bound; });
    return true;
}

double SitePicture::highest(SitePoint q, SiteWorkspace &work, bool all) const
{
    if (!collect(q, work))
        return std::nan("");
    double best = 0;
    bool any = false;
    for (FaceCandidate &candidate : work.candidates) {
        if (any && !all && candidate.bound < best)
            break;
        if (any && !all && closeBound(*candidate.face, candidate.position) < best)
            continue;
        candidate.picture = faceLevel(*candidate.face, candidate.position, work);
        candidate.computed = true;
        if (std::isnan(candidate.picture))
            return candidate.picture;
        best = any ? std::max(best, candidate.picture) : candidate.picture;
        any = true;
    }
    return best;
}

double SitePicture::faceLevel(const PreparedFace &face, const FacePosition &position,
                              SiteWorkspace &work) const
{
    const double x = position.x + kDistanceOffset;
    const bool beyondScreen = face.screened && position.x > face.screenDistance;
    const CalculationInput &input = beyondScreen ? face.shielded : face.plain;
    const double f = pointFraction(input, face.state.CountedFaceWidth, position.y);
    if (face.indoor)
        return indoorLevel(x, face.state.StorageHeight, face.state.StorageWidth, f);

    OutdoorPoint point = beyondScreen ? face.shieldedPoint : face.plainPoint;
    point.x = x;
    point.f = f;
    PictureTask task;
    task.strips = kFlameStrips;
    task.radiance = face.radiance.data();
    task.left = work.left.data();
    task.right = work.right.data();
    task.distance = x;
    task.leftWidth = f * face.state.StorageWidth;
    task.rightWidth = (1 - f) * face.state.StorageWidth;
    return m_site.envelope ? envelopeLevel(face, point, task, work) : heightsLevel(face, point, task, work);
}

double SitePicture::levelAtHeight(const PreparedFace &, OutdoorPoint &point, PictureTask &task, double z,
                                  const float *above, double transmission) const
{
    point.z = z;
    task.shieldedStrips = shieldedStrips(point);
    if (task.shieldedStrips < 0)
        return std::nan("");
    task.heights = above;
    const PictureSums sums = PictureStrips(task);
    return (sums.total - point.K * sums.shielded) * transmission;
}

double SitePicture::heightsLevel(const PreparedFace &face, OutdoorPoint point, const PictureTask &base,
                                 SiteWorkspace &) const
{
    PictureTask task = base;
    const double transmission = detail::transmission(point.x);
    double highest = 0;
    for (std::size_t h = 0; h < m_scan.size(); ++h) {
        const double level =
            levelAtHeight(face, point, task, m_scan[h], face.heightsAbove[h].data(), transmission);
        if (!std::isfinite(level))
            return level;
        highest = std::max(highest, level);
    }
    return highest;
}

double SitePicture::envelopeLevel(const PreparedFace &face, OutdoorPoint point, const PictureTask &base,
                                  SiteWorkspace &work) const
{
    PictureTask task = base;
    const double transmission = detail::transmission(point.x);
    std::vector<std::pair<double, double>> &samples = work.samples;
    samples.clear();
    double highest = 0;
    for (std::size_t h = 0; h < m_scan.size(); ++h) {
        const double level =
            levelAtHeight(face, point, task, m_scan[h], face.heightsAbove[h].data(), transmission);
        if (!std::isfinite(level))
            return level;
        samples.emplace_back(m_scan[h], level);
        highest = std::max(highest, level);
    }
    // Around the highest local maximum of the scan (and a second one nearly as high), a
    // golden-section search between its neighbours narrows the peak to a centimetre.
    const std::vector<double> centres = maxima(samples);
    const double first = centres.empty() ? 0 : std::max(0.0, highest);
    for (std::size_t m = 0; m < centres.size(); ++m) {
        if (m > 0 && !(levelOfSample(samples, centres[m]) >= kSecondPeakShare * first))
            break;
        const auto level = [&](double z) {
            for (int i = 0; i <= kFlameStrips; ++i)
                work.above[i] = static_cast<float>(z - face.profile.edge[i]);
            return levelAtHeight(face, point, task, z, work.above.data(), transmission);
        };
        double a = std::max(0.0, centres[m] - kEnvelopeStep / 100.0);
        double b = std::min(m_top, centres[m] + kEnvelopeStep / 100.0);
        double c = b - kGolden * (b - a);
        double d = a + kGolden * (b - a);
        double fc = level(c);
        double fd = level(d);
        while (b - a > kEnvelopeResolution && std::isfinite(fc) && std::isfinite(fd)) {
            if (fc >= fd) {
                b = d;
                d = c;
                fd = fc;
                c = b - kGolden * (b - a);
                fc = level(c);
            } else {
                a = c;
                c = d;
                fc = fd;
                d = a + kGolden * (b - a);
                fd = level(d);
            }
            highest = std::max({highest, fc, fd});
        }
        if (!std::isfinite(fc) || !std::isfinite(fd))
            return std::isfinite(fc) ? fd : fc;
        highest = std::max({highest, fc, fd});
    }
    return highest;
}

// No strip is hotter than the hottest, so a face's level is at most the hottest σT⁴ times
// the view factor of the whole flame face, times the transmission. The quick bound takes
// the view factor of every part of the face as that of its nearest point (x² / π r⁴ per
// unit of area, at most 1) and a transmission of 1; a building's facade radiates 45 kW/m²
// over its whole height.
double SitePicture::quickBound(const PreparedFace &face, const FacePosition &position) const
{
    const double x = position.x + kDistanceOffset;
    const double f = pointFraction(face.plain, face.state.CountedFaceWidth, position.y);
    const double B = face.state.StorageWidth;
    const double beside = f < 0 ? -f * B : (f > 1 ? (f - 1) * B : 0);
    const double tall = face.indoor ? face.state.StorageHeight : face.state.FlameHeight;
    const double above = face.indoor ? 0 : std::max(0.0, m_lowest - tall);
    const double r2 = x * x + beside * beside + above * above;
    const double view = std::min(1.0, (x * x) * (B * tall) / (kPiExact * r2 * r2));
    const double hottest = face.indoor ? kFacadeRadiance : face.hottest;
    return hottest * view * (1 + kBoundShare) + kBoundMargin;
}

// The close bound: the view factor of the flame face itself, from the judged height nearest
// to half the flame's height, where a rectangle from the ground to the flame top fills
// most of the view of a point in front of its plane. A building's level is cheap: itself.
double SitePicture::closeBound(const PreparedFace &face, const FacePosition &position) const
{
    const double x = position.x + kDistanceOffset;
    const CalculationInput &input = face.plain;
    const double f = pointFraction(input, face.state.CountedFaceWidth, position.y);
    if (face.indoor)
        return indoorLevel(x, face.state.StorageHeight, face.state.StorageWidth, f);
    const double B = face.state.StorageWidth;
    const double w1 = f * B;
    const double w2 = (1 - f) * B;
    const double Lf = face.state.FlameHeight;
    const double z = std::clamp(Lf / 2, m_lowest, m_top);
    const double below = z - Lf;
    const double view = (CornerViewFactor(x, z, w1) + CornerViewFactor(x, z, w2))
        - (CornerViewFactor(x, below, w1) + CornerViewFactor(x, below, w2));
    const double level = face.hottest * view * transmission(x);
    return level * (1 + kBoundShare) + kBoundMargin;
}

} // namespace engine::detail
