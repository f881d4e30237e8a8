#pragma once

// The engine's own tools for levels at many ground points of a site: every face of
// every storage prepared once (its state, flame and strip edges), the single-precision
// picture of one face at one point, and a bound on a face's level that lets a point skip
// the faces that cannot be its highest. Used by the site's map and its boundary check.

#include "field.h"
#include "fire_models.h"
#include "kernel.h"
#include "site.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace engine::detail {

constexpr std::size_t kSitePictureEdges = kFlameStrips + 1 + 16;
using SiteEdges = std::array<float, kSitePictureEdges>;

// One face, ready for many points. A face with a screen has two calculations: for
// points beyond the screen and for nearer ones.
struct PreparedFace
{
    int storage = 0;
    int face = 1;
    bool indoor = false;
    StorageFace geometry;
    bool screened = false;
    double screenDistance = 0;
    CalculationInput plain;    // without the screen
    CalculationInput shielded; // with it (when screened)
    CalculationState state;    // the storage's share, shared by both
    OutdoorPoint plainPoint;
    OutdoorPoint shieldedPoint;
    FlameProfile profile;
    SiteEdges radiance {};               // σT⁴ per strip
    std::vector<SiteEdges> heightsAbove; // per height of the scan: z − edge
    double hottest = 0;                  // σT⁴ of the hottest strip
};

// A point in front of a face, with what the picture needs of it.
struct FaceCandidate
{
    const PreparedFace *face = nullptr;
    FacePosition position;
    double bound = 0;   // W/m²: the face's level cannot exceed this (a quick bound)
    double picture = 0; // W/m²: the picture's level, once computed
    bool computed = false;
};

// One thread's working arrays.
struct SiteWorkspace
{
    SiteEdges left {};
    SiteEdges right {};
    SiteEdges above {};
    std::vector<FaceCandidate> candidates;
    std::vector<std::pair<double, double>> samples; // (height, level) of an envelope scan
};

class SitePicture
{
public:
    explicit SitePicture(const Site &site, char decimalSeparator = '.');

    bool ok() const { return m_status == CalculationStatus::Ok; }
    CalculationStatus status() const { return m_status; }
    const std::string &message() const { return m_message; }
    const Site &site() const { return m_site; }

    // The faces q lies in front of, each with its quick bound, in `work.candidates`,
    // highest bound first; false when q lies inside a storage.
    bool collect(SitePoint q, SiteWorkspace &work) const;

    // The picture's highest level at q (W/m²): the faces in the order of their bounds,
    // a face skipped when its quick bound, or then its close bound, lies below the
    // highest so far. NaN inside a storage.
    // With `all`, no face is skipped.
    double highest(SitePoint q, SiteWorkspace &work, bool all = false) const;

    // The picture's level of one face at one point (W/m², the highest over the heights
    // or the envelope; below zero from rounding gives 0).
    double faceLevel(const PreparedFace &face, const FacePosition &position, SiteWorkspace &work) const;

    // Two bounds on a face's level at a point (W/m²): a quick one, and a close one that
    // costs four corner view factors.
    double quickBound(const PreparedFace &face, const FacePosition &position) const;
    double closeBound(const PreparedFace &face, const FacePosition &position) const;

    // How far the picture may lie from the exact level, for deciding which faces
    // could be a point's highest (W/m²).
    static double tolerance(double level) { return 5 + 1e-4 * level; }

private:
    double heightsLevel(const PreparedFace &face, OutdoorPoint point, const PictureTask &base,
                        SiteWorkspace &work) const;
    double envelopeLevel(const PreparedFace &face, OutdoorPoint point, const PictureTask &base,
                         SiteWorkspace &work) const;
    double levelAtHeight(const PreparedFace &face, OutdoorPoint &point, PictureTask &task, double z,
                         const float *above, double transmission) const;

    Site m_site;
    CalculationStatus m_status = CalculationStatus::Ok;
    std::string m_message;
    std::vector<std::unique_ptr<PreparedFace>> m_faces;
    std::vector<double> m_scan; // the heights of the picture: the five, or the envelope's coarse scan
    double m_lowest = 0;        // of the heights judged (m)
    double m_top = 0;
};

} // namespace engine::detail
