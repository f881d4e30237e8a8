#include "situatie_exports.h"

#include "contour_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace explore {
namespace {

constexpr int kLargePage = 2000; // pixels: wider files go on A3

SituatieScene sceneOf(const SituatieSnapshot &snapshot)
{
    SituatieScene scene;
    scene.state = &snapshot.state;
    scene.result = snapshot.result.get();
    scene.underlay = snapshot.underlay.get();
    scene.title = SituatieTitle(snapshot.state.site);
    return scene;
}

} // namespace

bool SituatieSnapshot::complete() const
{
    return state.hasSite && result && result->final && result->refusal.isEmpty() && result->hasMap
        && result->hasCheck && SameSite(result->site, state.site);
}

QString SituatieTitle(const engine::Site &site)
{
    return site.envelope
        ? QStringLiteral("Situatie: hoogste niveau over de hoogtes tot het hoogste punt (omhullende)")
        : QStringLiteral("Situatie: hoogste niveau over de beoordelingspunten");
}

bool SituatieFormatOf(const QString &path, SituatieFormat &format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        format = SituatieFormat::Png;
    else if (suffix == QLatin1String("svg"))
        format = SituatieFormat::Svg;
    else if (suffix == QLatin1String("pdf"))
        format = SituatieFormat::Pdf;
    else
        return false;
    return true;
}

void PaintSituatieSnapshot(QPainter &painter, const QRectF &area, const SituatieSnapshot &snapshot,
                           const QLocale &locale)
{
    const SituatieScene scene = sceneOf(snapshot);
    const QRectF map = SituatieMapArea(area, true, plot::DeviceUnit(painter));
    const QRectF bounds = SituatieBounds(snapshot.state, snapshot.result.get(), snapshot.underlay.get());
    PaintSituatie(painter, SituatieViewport::fit(map, bounds), scene, locale);
}

QByteArray RenderSituatie(const SituatieSnapshot &snapshot, SituatieFormat format, const QSize &size,
                          const QLocale &locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    switch (format) {
    case SituatieFormat::Png: {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintSituatieSnapshot(painter, area, snapshot, locale);
        }
        image.save(&buffer, "PNG");
        break;
    }
    case SituatieFormat::Svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(96);
        generator.setTitle(QStringLiteral("Warmtegloed – Verkenning: Situatie"));
        QPainter painter(&generator);
        PaintSituatieSnapshot(painter, area, snapshot, locale);
        break;
    }
    case SituatieFormat::Pdf: {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("Situatie"));
        writer.setPageSize(QPageSize(size.width() > kLargePage ? QPageSize::A3 : QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QPainter painter(&writer);
        PaintSituatieSnapshot(painter, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())),
                              snapshot, locale);
        break;
    }
    }
    return bytes;
}

bool SituatieContourFile(const SituatieSnapshot &snapshot, const QString &path, QByteArray &bytes,
                         QString &reason)
{
    gis::ContourFormat format;
    if (!gis::FormatOf(path.toStdString(), format)) {
        reason =
            QStringLiteral("Contouren gaan naar een GeoJSON-bestand (.geojson) of een DXF-bestand (.dxf).");
        return false;
    }
    if (!snapshot.complete()) {
        reason = QStringLiteral("De situatie wordt nog berekend; probeer het zo opnieuw.");
        return false;
    }
    std::vector<gis::LevelLines> levels;
    for (const SituatieContour &contour : snapshot.result->map.contours)
        levels.push_back({contour.levelKw, contour.lines});
    std::string document;
    std::string error;
    if (!gis::ContourDocument(levels, format, document, error)) {
        reason = QStringLiteral("Geen contourbestand: %1").arg(QString::fromStdString(error));
        return false;
    }
    bytes = QByteArray(document.data(), qsizetype(document.size()));
    return true;
}

} // namespace explore
