#pragma once

// A site's own drawing as lines in site coordinates, read by GDAL's OGR from a DXF,
// GeoJSON, GeoPackage or Shapefile: every line, polyline, arc (as a polyline) and
// polygon ring of every layer. A drawing in RD New metres (or in no stated system) keeps
// its coordinates; one in longitude and latitude, or in another projected system, is
// brought to RD New (EPSG:28992). Points and texts are left out: the drawing is an
// underlay to trace and to pick boundary lines from. Desktop only, like the rest of gis/.

#include "site.h"

#include <cstddef>
#include <string>
#include <vector>

namespace gis {

struct DrawingLine
{
    std::string layer; // the file's layer (DXF: the entity's layer)
    std::vector<engine::SitePoint> points;
    bool closed = false; // a polygon ring or a closed polyline: the last point repeats the first
};

struct Drawing
{
    std::vector<DrawingLine> lines;
    double west = 0;
    double east = 0;
    double south = 0;
    double north = 0;
    bool reprojected = false; // the file's coordinates were brought to RD New
};

// Drawings larger than this are refused, so that an underlay stays quick to draw.
inline constexpr std::size_t kMaximumDrawingPoints = 2000000;

// Whether the file name asks for a vector drawing (.dxf, .geojson, .json, .gpkg, .shp, in any case).
bool IsDrawingFile(const std::string &path);

// False with one Dutch line when the file cannot be read, holds no lines, or is too large.
bool ReadDrawing(const std::string &path, Drawing &drawing, std::string &error);

} // namespace gis
