#include "underlay_content.h"

#include "chart_style.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

// Megabytes a raster image may take while it is read.
constexpr int kImageAllocationMb = 1024;

bool loadRaster(const QString &path, UnderlayContent &content, QString &reason)
{
    QImageReader reader(path);
    reader.setAllocationLimit(kImageAllocationMb);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        reason = QStringLiteral("%1 is geen PNG- of JPEG-afbeelding die gelezen kan worden (%2).")
                     .arg(QFileInfo(path).fileName(), reader.errorString());
        return false;
    }
    const int longer = std::max(size.width(), size.height());
    if (longer > kLargestUnderlayPixels)
        reader.setScaledSize(
            size.scaled(kLargestUnderlayPixels, kLargestUnderlayPixels, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull()) {
        reason = QStringLiteral("%1 kan niet worden gelezen (%2).")
                     .arg(QFileInfo(path).fileName(), reader.errorString());
        return false;
    }
    content.image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    content.drawingSize = QSizeF(size);
    return true;
}

bool loadPdf(const QString &path, int page, UnderlayContent &content, QString &reason)
{
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None || document.pageCount() < 1) {
        reason =
            QStringLiteral("%1 is geen PDF-document dat gelezen kan worden.").arg(QFileInfo(path).fileName());
        return false;
    }
    content.pageCount = document.pageCount();
    if (page < 0 || page >= document.pageCount()) {
        reason = QStringLiteral("%1 heeft geen pagina %2 (wel %3).")
                     .arg(QFileInfo(path).fileName())
                     .arg(page + 1)
                     .arg(document.pageCount());
        return false;
    }
    const QSizeF points = document.pagePointSize(page);
    if (!(points.width() > 0 && points.height() > 0)) {
        reason = QStringLiteral("Pagina %1 van %2 heeft geen afmetingen.")
                     .arg(page + 1)
                     .arg(QFileInfo(path).fileName());
        return false;
    }
    QSizeF pixels = points * (kPdfDpi / 72);
    if (std::max(pixels.width(), pixels.height()) > kLargestUnderlayPixels)
        pixels.scale(kLargestUnderlayPixels, kLargestUnderlayPixels, Qt::KeepAspectRatio);
    const QSize size(std::max(1, int(std::lround(pixels.width()))),
                     std::max(1, int(std::lround(pixels.height()))));
    QImage image = document.render(page, size);
    if (image.isNull()) {
        reason = QStringLiteral("Pagina %1 van %2 kon niet worden getekend.")
                     .arg(page + 1)
                     .arg(QFileInfo(path).fileName());
        return false;
    }
    // A PDF page is transparent where nothing is printed: on the site it is paper.
    QImage paper(image.size(), QImage::Format_ARGB32_Premultiplied);
    paper.fill(Qt::white);
    {
        QPainter painter(&paper);
        painter.drawImage(0, 0, image);
    }
    content.image = paper;
    content.drawingSize = points;
    return true;
}

} // namespace

bool LoadUnderlay(const QString &path, UnderlayKind kind, int page, UnderlayContent &content, QString &reason)
{
    UnderlayContent loaded;
    loaded.kind = kind;
    bool ok = false;
    if (kind == UnderlayKind::Raster) {
        ok = loadRaster(path, loaded, reason);
    } else if (kind == UnderlayKind::Pdf) {
        ok = loadPdf(path, page, loaded, reason);
    } else {
        std::string error;
        ok = gis::ReadDrawing(path.toStdString(), loaded.drawing, error);
        if (!ok)
            reason = QStringLiteral("%1: %2.").arg(QFileInfo(path).fileName(), QString::fromStdString(error));
    }
    if (ok)
        content = std::move(loaded);
    return ok;
}

QRectF UnderlayBounds(const Underlay &underlay, const UnderlayContent &content)
{
    if (content.kind == UnderlayKind::Vector) {
        const gis::Drawing &d = content.drawing;
        return QRectF(QPointF(d.west, d.south), QPointF(d.east, d.north));
    }
    return underlay.placement.toSite().mapRect(QRectF(QPointF(0, 0), content.drawingSize));
}

void PaintUnderlay(QPainter &painter, const QTransform &toDevice, const Underlay &underlay,
                   const UnderlayContent &content, const QColor &ink)
{
    if (!underlay.present || content.empty())
        return;
    const plot::PainterState state(painter);
    painter.setOpacity(std::clamp(underlay.opacity, kLeastOpacity, 1.0));
    if (content.kind != UnderlayKind::Vector) {
        const QTransform pixels =
            QTransform::fromScale(content.drawingSize.width() / content.image.width(),
                                  content.drawingSize.height() / content.image.height());
        painter.setWorldTransform(pixels * underlay.placement.toSite() * toDevice, true);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPointF(0, 0), content.image);
        return;
    }
    const QRectF visible =
        painter.clipBoundingRect().isEmpty() ? QRectF(painter.window()) : painter.clipBoundingRect();
    painter.setPen(QPen(ink, 1.0 * plot::DeviceUnit(painter)));
    painter.setBrush(Qt::NoBrush);
    QPolygonF polyline;
    for (const gis::DrawingLine &line : content.drawing.lines) {
        polyline.resize(qsizetype(line.points.size()));
        for (std::size_t i = 0; i < line.points.size(); ++i)
            polyline[qsizetype(i)] = toDevice.map(QPointF(line.points[i].x, line.points[i].y));
        if (polyline.boundingRect().intersects(visible) || polyline.boundingRect().isEmpty())
            painter.drawPolyline(polyline);
    }
}

} // namespace explore
