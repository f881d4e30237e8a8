#pragma once

// The site's level map: the level at every node of a grid over the ground, for the
// exploration window's picture of a site, the command line's --grid and the contours.

#include "contour.h"
#include "field.h"
#include "site.h"

#include <functional>
#include <string>
#include <vector>

namespace engine {

// Nodes at every x (columns, east) with every y (rows, north), in site coordinates.
struct SiteGrid
{
    std::vector<double> x;
    std::vector<double> y;
};

struct SiteMap
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;        // Dutch, naming the storage and face, when the status is not Ok
    std::vector<double> levels; // W/m², levels[row × columns + column]; NaN inside a storage

    bool ok() const { return status == CalculationStatus::Ok; }
};

// The map for drawing: each face in single precision as CalculateFieldPicture draws one
// storage (within 1e-5 of the highest level for points 0.1 m or more from a face), and
// at each node only the faces that can give its highest level. A storage face the
// method cannot compute refuses the map; `cancelled`, asked now and then, gives back an
// empty map with status Ok.
SiteMap CalculateSitePicture(const Site &site, const SiteGrid &grid, const FieldOptions &options = {},
                             const std::function<bool()> &cancelled = {}, char decimalSeparator = '.');

// The exact map: every node's level as SiteLevelAt gives it, to the last bit. The picture
// picks the faces that can be a node's highest; those are computed exactly.
SiteMap CalculateSiteHighest(const Site &site, const SiteGrid &grid, const FieldOptions &options = {},
                             const std::function<bool()> &cancelled = {}, char decimalSeparator = '.');

// A regular grid's map as a scalar field for ContourLines, in kW/m² (NaN stays a hole).
// The grid's nodes must be evenly spaced, at least two in each direction.
ScalarGrid SiteScalarGrid(const SiteGrid &grid, const SiteMap &map);

} // namespace engine
