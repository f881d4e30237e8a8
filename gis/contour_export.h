#pragma once

// The site's contour lines as files for GIS and CAD programs, written by GDAL's OGR:
// GeoJSON (LineStrings with the property level_kW_m2) and DXF (polylines on one layer
// per level, named "niveau_15_kW_m2"). Coordinates are the site's (metres, x east,
// y north; RD New coordinates stay RD New, though neither file says so). Desktop only:
// the engine and the case module know nothing of GDAL.

#include "contour.h"

#include <string>
#include <vector>

namespace gis {

enum class ContourFormat { GeoJson, Dxf };

// The contour lines at one level.
struct LevelLines
{
    double levelKw = 0; // kW/m²
    std::vector<engine::ContourLine> lines;
};

// The format a file name asks for by its extension (.geojson, .json or .dxf, in any
// case); false for any other.
bool FormatOf(const std::string &path, ContourFormat &format);

// The DXF layer of a level: "niveau_15_kW_m2", "niveau_12.5_kW_m2".
std::string DxfLayerName(double levelKw);

// The file's bytes, composed in memory (the caller writes them, e.g. through SafeFile).
// False with a one-line Dutch message when GDAL cannot compose them.
bool ContourDocument(const std::vector<LevelLines> &levels, ContourFormat format, std::string &bytes,
                     std::string &error);

} // namespace gis
