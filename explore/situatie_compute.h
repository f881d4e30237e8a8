#pragma once

#include "contour.h"
#include "site.h"
#include "site_check.h"
#include "site_map.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace explore {

// How a stage of the Situatie's map was computed: a coarse picture first (quick, for the
// eye while the mouse works), the picture at full resolution, then the exact levels.
enum class SituatiePrecision { Coarse, Picture, Exact };

// The contour lines at one level (kW/m²).
struct SituatieContour
{
    double levelKw = 0;
    bool limit = false;
    std::vector<engine::ContourLine> lines;
};

struct SituatieMap
{
    SituatiePrecision precision = SituatiePrecision::Coarse;
    engine::SiteGrid grid;
    engine::ScalarGrid levels; // kW/m², NaN inside a storage
    double highestKw = 0;
    double topKw = 10; // the top of the colour scale: a round figure at or above the highest and the limit
    QImage colours;    // a pixel per node, north up; see MapColour
    std::vector<SituatieContour> contours;
};

// The level along one boundary polyline, for its colours: the picture's level (kW/m²) at
// points at most kBoundaryColourSpacing apart. The highest point is the check's.
struct BoundaryLevels
{
    std::vector<engine::SitePoint> points;
    std::vector<double> levelsKw;
};

inline constexpr double kBoundaryColourSpacing = 0.5; // m, or coarser on a very long boundary

// One stage of the Situatie's computation for one site.
struct SituatieResult
{
    engine::Site site;
    QString refusal; // the engine's Dutch reason when it cannot compute the site
    bool hasMap = false;
    SituatieMap map;
    bool hasCheck = false;
    engine::SiteCheck check;
    std::vector<BoundaryLevels> boundary; // one per polyline, with the check
    bool final = false;
};

// The contour levels besides the limit (kW/m²).
std::vector<double> SituatieContourLevels();

// The ground the map covers: the storages, the boundary and the receivers with room
// around them for the lowest contour level (the distance the solver gives for it in
// front of each storage's faces, at most 500 m).
QRectF SituatieExtent(const engine::Site &site);

// The grid over `extent`: round steps, the longer side in at most `nodes` nodes.
engine::SiteGrid SituatieGrid(const QRectF &extent, int nodes);

// The colour of a level on the map: viridis from 0 to `topKw`, fading out below
// 2.5 kW/m² so that the ground (and the drawing under it) shows where there is little
// radiation; transparent inside a storage.
QRgb MapColour(double levelKw, double topKw);

// The map of the site over `grid` at `precision`; false with the engine's refusal. `cancelled`
// is asked now and then: a yes leaves the map empty and gives false with an empty refusal.
bool ComputeSituatieMap(const engine::Site &site, const engine::SiteGrid &grid, SituatiePrecision precision,
                        SituatieMap &map, QString &refusal, const std::function<bool()> &cancelled = {});

// The boundary's colours.
std::vector<BoundaryLevels> ComputeBoundaryLevels(const engine::Site &site);

// Hands one stage to the window; `last` says that no stage follows.
using SituatieSender = std::function<void(std::shared_ptr<const SituatieResult> stage, bool last)>;

// The window's work for one site: the coarse map, the check with the boundary's colours,
// the map at full resolution as a picture and then exactly. Stops once `outdated` says yes.
void ComputeSituatie(const engine::Site &site, const std::function<bool()> &outdated,
                     const SituatieSender &send);

// Nodes along the longer side of the coarse map and of the full one.
inline constexpr int kCoarseNodes = 72;
inline constexpr int kFullNodes = 240;

} // namespace explore
