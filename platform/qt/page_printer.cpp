#include "page_printer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPen>
#include <QStringList>

#include <cmath>

namespace platform {

namespace {

QPaintDevice *metricsDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        image.setDotsPerMeterX(qRound(PagePrinter::DeviceDpi / 0.0254));
        image.setDotsPerMeterY(qRound(PagePrinter::DeviceDpi / 0.0254));
        return image;
    }();
    return &device;
}

[[noreturn]] void fail(const QString &what)
{
    failPrinting(what);
}

} // namespace

const QString PagePrinter::DocumentTitle = QStringLiteral("Warmtegloedvracht");

void failPrinting(const QString &what)
{
    throw PrinterError(what.toStdString());
}

PagePrinter::PagePrinter()
{
    m_font.setFamily(QStringLiteral("Arial"));
    setFontSize(10);
}

PagePrinter::~PagePrinter() = default;

void PagePrinter::abandonDocument()
{
    if (m_painter.isActive())
        closeDocument(false);
}

void PagePrinter::setPaperSize(int code)
{
    switch (code) {
    case vbPRPSLetter:
        m_pageSize = QPageSize::Letter;
        break;
    case vbPRPSLegal:
        m_pageSize = QPageSize::Legal;
        break;
    case vbPRPSA3:
        m_pageSize = QPageSize::A3;
        break;
    case vbPRPSA4:
        m_pageSize = QPageSize::A4;
        break;
    case vbPRPSA5:
        m_pageSize = QPageSize::A5;
        break;
    default:
        fail(QStringLiteral("paper size %1 is not supported").arg(code));
    }
}

void PagePrinter::setOrientation(int code)
{
    if (code != vbPRORPortrait && code != vbPRORLandscape)
        fail(QStringLiteral("orientation %1 is not supported").arg(code));
    m_orientation = code == vbPRORPortrait ? QPageLayout::Portrait : QPageLayout::Landscape;
}

void PagePrinter::setCopies(int copies)
{
    if (copies < 1)
        fail(QStringLiteral("%1 copies").arg(copies));
    m_copies = copies;
}

void PagePrinter::setScaleMode(int code)
{
    switch (code) {
    case vbTwips:
        m_unitsPerInch = 1440;
        break;
    case vbPoints:
        m_unitsPerInch = 72;
        break;
    case vbInches:
        m_unitsPerInch = 1;
        break;
    case vbMillimeters:
        m_unitsPerInch = 25.4;
        break;
    case vbCentimeters:
        m_unitsPerInch = 2.54;
        break;
    default:
        fail(QStringLiteral("scale mode %1 is not supported").arg(code));
    }
}

void PagePrinter::setScaleLeft(float left)
{
    m_scaleLeft = left;
}
void PagePrinter::setScaleTop(float top)
{
    m_scaleTop = top;
}

void PagePrinter::setFontName(const QString &name)
{
    m_font.setFamily(name);
}
float PagePrinter::FontSize() const
{
    return m_fontSize;
}

void PagePrinter::setFontSize(float points)
{
    if (!(points > 0))
        fail(QStringLiteral("font size %1").arg(points));
    m_fontSize = points;
    m_font.setPointSizeF(points);
}

void PagePrinter::setFontBold(bool bold)
{
    m_font.setBold(bold);
}
void PagePrinter::setFontUnderline(bool underline)
{
    m_font.setUnderline(underline);
}

double PagePrinter::deviceUnitsPerUnit() const
{
    return DeviceDpi / m_unitsPerInch;
}

QPointF PagePrinter::toDevice(double x, double y) const
{
    const double scale = deviceUnitsPerUnit();
    return QPointF((x - m_scaleLeft) * scale, (y - m_scaleTop) * scale);
}

double PagePrinter::lineHeight() const
{
    return QFontMetricsF(m_font, metricsDevice()).lineSpacing() / deviceUnitsPerUnit();
}

void PagePrinter::lineBreak()
{
    m_currentX = m_scaleLeft;
    m_currentY = static_cast<float>(m_currentY + lineHeight());
}

QPageLayout PagePrinter::pageLayout(const QMarginsF &marginsMm) const
{
    return QPageLayout(QPageSize(m_pageSize), m_orientation, marginsMm, QPageLayout::Millimeter);
}

void PagePrinter::beginDocument()
{
    QPagedPaintDevice *device = openDocument();
    if (!m_painter.begin(device)) {
        discardDocument();
        fail(QStringLiteral("the printer did not start"));
    }
}

void PagePrinter::closeDocument(bool deliver)
{
    const bool written = m_painter.end();
    m_currentX = 0;
    m_currentY = 0;
    if (!deliver || !written) {
        discardDocument();
        if (deliver)
            fail(QStringLiteral("the page could not be finished"));
        return;
    }
    deliverDocument();
}

void PagePrinter::drawSegment(const QString &segment)
{
    if (segment.isEmpty())
        return;
    if (!m_painter.isActive())
        beginDocument();
    const QFontMetricsF metrics(m_font, metricsDevice());
    m_painter.setFont(m_font);
    m_painter.setPen(Qt::black);
    const QPointF topLeft = toDevice(m_currentX, m_currentY);
    m_painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), segment);
    m_currentX = static_cast<float>(m_currentX + metrics.horizontalAdvance(segment) / deviceUnitsPerUnit());
}

void PagePrinter::Print(const QString &text, bool lineEnd)
{
    if (!m_painter.isActive())
        beginDocument();
    const double tabSpacing = TabSpacingCm / 2.54 * m_unitsPerInch;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype l = 0; l < lines.size(); ++l) {
        if (l > 0)
            lineBreak();
        const QStringList cells = lines.at(l).split(u'\t');
        for (qsizetype c = 0; c < cells.size(); ++c) {
            if (c > 0) {
                // Evenly spaced stops, counted from the scale's origin.
                const double fromOrigin = m_currentX - m_scaleLeft;
                const double stop = (std::floor(fromOrigin / tabSpacing + 1e-6) + 1) * tabSpacing;
                m_currentX = static_cast<float>(m_scaleLeft + stop);
            }
            drawSegment(cells.at(c));
        }
    }
    if (lineEnd)
        lineBreak();
}

void PagePrinter::Line(float x1, float y1, float x2, float y2)
{
    if (!m_painter.isActive())
        beginDocument();
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    QPen pen(Qt::black);
    pen.setStyle(styles[m_drawStyle]);
    pen.setWidthF(m_drawWidth); // device pixels
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    m_painter.drawLine(toDevice(x1, y1), toDevice(x2, y2));
    // The print position follows the pen to the line's end.
    m_currentX = x2;
    m_currentY = y2;
}

void PagePrinter::setDrawStyle(int style)
{
    if (style < 0 || style > 6)
        fail(QStringLiteral("draw style %1").arg(style));
    m_drawStyle = style;
}

void PagePrinter::setDrawWidth(int pixels)
{
    if (pixels < 1)
        fail(QStringLiteral("draw width %1").arg(pixels));
    m_drawWidth = pixels;
}

void PagePrinter::PaintPicture(const QImage &picture, float x, float y, float width, float height)
{
    if (picture.isNull())
        fail(QStringLiteral("no picture to paint"));
    if (!m_painter.isActive())
        beginDocument();
    const QPointF topLeft = toDevice(x, y);
    const double scale = deviceUnitsPerUnit();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(QRectF(topLeft, QSizeF(width * scale, height * scale)), picture);
}

float PagePrinter::TextWidth(const QString &text)
{
    return static_cast<float>(QFontMetricsF(m_font, metricsDevice()).horizontalAdvance(text)
                              / deviceUnitsPerUnit());
}

void PagePrinter::EndDoc()
{
    if (m_painter.isActive())
        closeDocument(true);
}

void PagePrinter::KillDoc()
{
    if (m_painter.isActive())
        closeDocument(false);
}

} // namespace platform
