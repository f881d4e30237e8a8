#include "contour_export.h"

#include "gdal_support.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <memory>

namespace gis {
namespace {

const char *const kLevelField = "level_kW_m2";

// The shortest text of a level that reads back as the same number ("10", "12.5").
std::string levelText(double levelKw)
{
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, levelKw);
    return std::string(text, end.ptr);
}

// A refusal in our words, with GDAL's last message beside it.
std::string failed(const char *what)
{
    return what + detail::QuietGdalErrors::detail();
}

bool addLines(OGRLayer &layer, const LevelLines &level, ContourFormat format, std::string &error)
{
    const std::string layerName = DxfLayerName(level.levelKw);
    for (const engine::ContourLine &line : level.lines) {
        if (line.points.size() < 2)
            continue;
        OGRFeature feature(layer.GetLayerDefn());
        if (format == ContourFormat::GeoJson)
            feature.SetField(kLevelField, level.levelKw);
        else
            feature.SetField("Layer", layerName.c_str());
        OGRLineString geometry;
        for (const engine::ContourPoint &point : line.points)
            geometry.addPoint(point.x, point.y);
        feature.SetGeometry(&geometry);
        if (layer.CreateFeature(&feature) != OGRERR_NONE) {
            error = failed("GDAL kon een contourlijn niet opnemen");
            return false;
        }
    }
    return true;
}

} // namespace

bool FormatOf(const std::string &path, ContourFormat &format)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto endsWith = [&lower](const std::string &end) {
        return lower.size() > end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0;
    };
    if (endsWith(".geojson") || endsWith(".json")) {
        format = ContourFormat::GeoJson;
        return true;
    }
    if (endsWith(".dxf")) {
        format = ContourFormat::Dxf;
        return true;
    }
    return false;
}

std::string DxfLayerName(double levelKw)
{
    return "niveau_" + levelText(levelKw) + "_kW_m2";
}

bool ContourDocument(const std::vector<LevelLines> &levels, ContourFormat format, std::string &bytes,
                     std::string &error)
{
    detail::RegisterGdalDrivers();
    const detail::QuietGdalErrors quiet;
    const bool geoJson = format == ContourFormat::GeoJson;
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName(geoJson ? "GeoJSON" : "DXF");
    if (!driver) {
        error = geoJson ? "GDAL heeft geen GeoJSON-stuurprogramma" : "GDAL heeft geen DXF-stuurprogramma";
        return false;
    }
    // A name of its own in GDAL's memory file system, so that threads do not meet.
    static std::atomic<unsigned> serial {0};
    const std::string path =
        "/vsimem/warmtegloed-contours-" + std::to_string(serial++) + (geoJson ? ".geojson" : ".dxf");
    {
        detail::Dataset dataset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!dataset) {
            error = failed("GDAL kon het contourbestand niet aanmaken");
            return false;
        }
        char **options = nullptr;
        if (geoJson)
            options = CSLSetNameValue(options, "COORDINATE_PRECISION", "6");
        OGRLayer *layer =
            dataset->CreateLayer(geoJson ? "contouren" : "entities", nullptr, wkbLineString, options);
        CSLDestroy(options);
        if (!layer) {
            error = failed("GDAL kon de laag met contourlijnen niet aanmaken");
            return false;
        }
        if (geoJson) {
            OGRFieldDefn field(kLevelField, OFTReal);
            if (layer->CreateField(&field) != OGRERR_NONE) {
                error = failed("GDAL kon het veld level_kW_m2 niet aanmaken");
                return false;
            }
        }
        for (const LevelLines &level : levels) {
            if (!addLines(*layer, level, format, error))
                return false;
        }
    }
    vsi_l_offset length = 0;
    GByte *data = VSIGetMemFileBuffer(path.c_str(), &length, TRUE);
    if (!data) {
        error = failed("GDAL gaf geen contourbestand");
        return false;
    }
    bytes.assign(reinterpret_cast<const char *>(data), static_cast<std::size_t>(length));
    VSIFree(data);
    return true;
}

} // namespace gis
