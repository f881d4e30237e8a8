#pragma once

#include "situatie_painter.h"

#include <QByteArray>
#include <QLocale>
#include <QSize>
#include <QString>

#include <memory>

namespace explore {

// Everything a file or a page of the Situatie is drawn from: the state, its final
// computation and the underlay's content.
struct SituatieSnapshot
{
    SituatieState state;
    std::shared_ptr<const SituatieResult> result;
    std::shared_ptr<const UnderlayContent> underlay;

    // The snapshot can be drawn and exported: a site whose map and check are final and
    // belong to it.
    bool complete() const;
};

// The title files and pages give the Situatie.
QString SituatieTitle(const engine::Site &site);

enum class SituatieFormat { Png, Svg, Pdf };

// The format a file name asks for (.png, .svg, .pdf in any case); false for another.
bool SituatieFormatOf(const QString &path, SituatieFormat &format);

// The whole site ("Passend") with its underlay, drawn on paper: a PNG or SVG of `size`
// pixels, or a PDF page (A4 landscape, or A3 when `size` is wider than 2000 pixels).
QByteArray RenderSituatie(const SituatieSnapshot &snapshot, SituatieFormat format, const QSize &size,
                          const QLocale &locale);

// Draws the whole site into `area` of any painter (the report's page).
void PaintSituatieSnapshot(QPainter &painter, const QRectF &area, const SituatieSnapshot &snapshot,
                           const QLocale &locale);

// The contour lines of the final map (the limit and 5, 10, 20, 30 kW/m²) as GeoJSON or DXF
// in site coordinates, by the file name's extension. False with a Dutch reason.
bool SituatieContourFile(const SituatieSnapshot &snapshot, const QString &path, QByteArray &bytes,
                         QString &reason);

} // namespace explore
