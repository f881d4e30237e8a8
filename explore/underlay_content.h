#pragma once

#include "drawing_reader.h"
#include "underlay_file.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

namespace explore {

// What an underlay shows, loaded from its file: the picture of a raster image or a PDF
// page (possibly at a lower resolution than the drawing's own units, which placement
// uses), or the lines of a vector drawing in site coordinates.
struct UnderlayContent
{
    UnderlayKind kind = UnderlayKind::Raster;
    QImage image;       // raster and PDF
    QSizeF drawingSize; // in the drawing's units: image pixels, PDF points
    int pageCount = 1;  // of a PDF
    gis::Drawing drawing;

    bool empty() const { return kind == UnderlayKind::Vector ? drawing.lines.empty() : image.isNull(); }
};

// A picture of an underlay is never larger than this many pixels along its longer side.
inline constexpr int kLargestUnderlayPixels = 8000;
// A PDF page is drawn at this resolution (dots per inch) unless that passes the above.
inline constexpr double kPdfDpi = 200;

// Loads page `page` (a PDF's; from 0) of the file as `kind`. False with a Dutch reason.
bool LoadUnderlay(const QString &path, UnderlayKind kind, int page, UnderlayContent &content,
                  QString &reason);

// The site rectangle the underlay covers under its placement (a vector drawing's own bounds).
QRectF UnderlayBounds(const Underlay &underlay, const UnderlayContent &content);

// Draws the underlay at its opacity. `toDevice` maps site metres to the painter's device.
void PaintUnderlay(QPainter &painter, const QTransform &toDevice, const Underlay &underlay,
                   const UnderlayContent &content, const QColor &ink);

} // namespace explore
