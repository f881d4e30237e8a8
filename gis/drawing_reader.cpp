#include "drawing_reader.h"

#include "gdal_support.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

namespace gis {
namespace {

struct TransformDeleter
{
    void operator()(OGRCoordinateTransformation *transform) const
    {
        OGRCoordinateTransformation::DestroyCT(transform);
    }
};
using Transform = std::unique_ptr<OGRCoordinateTransformation, TransformDeleter>;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool endsWith(const std::string &text, const std::string &end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool isRdNew(const OGRSpatialReference &srs)
{
    const char *code = srs.GetAuthorityCode(nullptr);
    if (code && std::string(code) == "28992")
        return true;
    OGRSpatialReference rd;
    return rd.importFromEPSG(28992) == OGRERR_NONE && srs.IsSame(&rd);
}

// The transformation to RD New that a layer needs, or none. Longitude and latitude are
// recognised by their range too: a GeoJSON file says WGS 84 even when its numbers are RD
// New metres written without the system's name.
Transform transformFor(OGRLayer &layer, bool &failed)
{
    failed = false;
    const OGRSpatialReference *source = layer.GetSpatialRef();
    if (!source || (!source->IsGeographic() && !source->IsProjected()) || isRdNew(*source))
        return nullptr;
    if (source->IsGeographic()) {
        OGREnvelope extent;
        if (layer.GetExtent(&extent, TRUE) != OGRERR_NONE)
            return nullptr;
        const bool degrees = std::abs(extent.MinX) <= 180 && std::abs(extent.MaxX) <= 180
            && std::abs(extent.MinY) <= 90 && std::abs(extent.MaxY) <= 90;
        if (!degrees)
            return nullptr;
    }
    OGRSpatialReference from(*source);
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRSpatialReference rd;
    if (rd.importFromEPSG(28992) != OGRERR_NONE) {
        failed = true;
        return nullptr;
    }
    rd.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    Transform transform(OGRCreateCoordinateTransformation(&from, &rd));
    failed = !transform;
    return transform;
}

class Collector
{
public:
    Collector(Drawing &drawing, std::string &error)
        : m_drawing(drawing)
        , m_error(error)
    { }

    bool add(const OGRGeometry *geometry, const std::string &layer)
    {
        if (!geometry)
            return true;
        const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
        if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
            const auto *collection = geometry->toGeometryCollection();
            for (int i = 0; i < collection->getNumGeometries(); ++i) {
                if (!add(collection->getGeometryRef(i), layer))
                    return false;
            }
            return true;
        }
        if (OGR_GT_IsSubClassOf(type, wkbCurvePolygon)) {
            std::unique_ptr<OGRGeometry> linear(geometry->getLinearGeometry());
            const OGRPolygon *polygon = linear ? linear->toPolygon() : nullptr;
            if (!polygon)
                return true;
            for (int i = -1; i < polygon->getNumInteriorRings(); ++i) {
                const OGRLinearRing *ring = i < 0 ? polygon->getExteriorRing() : polygon->getInteriorRing(i);
                if (!addCurve(ring, layer))
                    return false;
            }
            return true;
        }
        if (OGR_GT_IsCurve(type)) {
            std::unique_ptr<OGRGeometry> linear(geometry->getLinearGeometry());
            return !linear || addCurve(linear->toLineString(), layer);
        }
        return true; // points and empty geometries
    }

private:
    bool addCurve(const OGRLineString *curve, const std::string &layer)
    {
        if (!curve || curve->getNumPoints() < 2)
            return true;
        m_points += std::size_t(curve->getNumPoints());
        if (m_points > kMaximumDrawingPoints) {
            m_error = "de tekening heeft meer dan " + std::to_string(kMaximumDrawingPoints)
                + " punten; maak een uitsnede van het terrein";
            return false;
        }
        DrawingLine line;
        line.layer = layer;
        line.points.reserve(std::size_t(curve->getNumPoints()));
        for (int i = 0; i < curve->getNumPoints(); ++i) {
            const engine::SitePoint p {curve->getX(i), curve->getY(i)};
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return true;
            line.points.push_back(p);
        }
        line.closed = curve->get_IsClosed();
        m_drawing.lines.push_back(std::move(line));
        return true;
    }

    Drawing &m_drawing;
    std::string &m_error;
    std::size_t m_points = 0;
};

void setBounds(Drawing &drawing)
{
    bool first = true;
    for (const DrawingLine &line : drawing.lines) {
        for (const engine::SitePoint &p : line.points) {
            drawing.west = first ? p.x : std::min(drawing.west, p.x);
            drawing.east = first ? p.x : std::max(drawing.east, p.x);
            drawing.south = first ? p.y : std::min(drawing.south, p.y);
            drawing.north = first ? p.y : std::max(drawing.north, p.y);
            first = false;
        }
    }
}

} // namespace

bool IsDrawingFile(const std::string &path)
{
    const std::string lower = lowerCase(path);
    for (const char *end : {".dxf", ".geojson", ".json", ".gpkg", ".shp"}) {
        if (endsWith(lower, end))
            return true;
    }
    return false;
}

bool ReadDrawing(const std::string &path, Drawing &drawing, std::string &error)
{
    detail::RegisterGdalDrivers();
    const detail::QuietGdalErrors quiet;
    drawing = Drawing();
    const char *const drivers[] = {"DXF", "GeoJSON", "GPKG", "ESRI Shapefile", nullptr};
    detail::Dataset dataset(GDALDataset::Open(
        path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR, drivers, nullptr, nullptr));
    if (!dataset) {
        error = "GDAL kan het bestand niet als tekening lezen" + detail::QuietGdalErrors::detail();
        return false;
    }
    Collector collector(drawing, error);
    for (OGRLayer *layer : dataset->GetLayers()) {
        bool failed = false;
        const Transform transform = transformFor(*layer, failed);
        if (failed) {
            error = std::string("de coördinaten van laag \"") + layer->GetName()
                + "\" kunnen niet naar RD New worden omgerekend" + detail::QuietGdalErrors::detail();
            return false;
        }
        const int layerField = layer->GetLayerDefn()->GetFieldIndex("Layer");
        layer->ResetReading();
        for (const auto &feature : *layer) {
            OGRGeometry *geometry = feature->GetGeometryRef();
            if (geometry && transform && geometry->transform(transform.get()) != OGRERR_NONE) {
                error = std::string("een vorm in laag \"") + layer->GetName()
                    + "\" kan niet naar RD New worden omgerekend" + detail::QuietGdalErrors::detail();
                return false;
            }
            const std::string name =
                layerField >= 0 ? feature->GetFieldAsString(layerField) : std::string(layer->GetName());
            if (!collector.add(geometry, name))
                return false;
        }
        drawing.reprojected = drawing.reprojected || transform;
    }
    if (drawing.lines.empty()) {
        error = "de tekening bevat geen lijnen";
        return false;
    }
    setBounds(drawing);
    return true;
}

} // namespace gis
