#include "qt_printer.h"

#include "cups_queue.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QMarginsF>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <cmath>

namespace platform {

namespace {

const QString DocumentTitle = QStringLiteral("Warmtegloedvracht");

// The page is drawn at a fixed resolution, so that texts can be measured the same
// way before and after the document has begun.
constexpr int DeviceDpi = 1200;

QPaintDevice *metricsDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        image.setDotsPerMeterX(qRound(DeviceDpi / 0.0254));
        image.setDotsPerMeterY(qRound(DeviceDpi / 0.0254));
        return image;
    }();
    return &device;
}

// A PDF file gets the printable area of a common office printer, so that the page
// matches the one on paper.
constexpr double PdfFileMarginMm = 25.4 * 10 / 72;

[[noreturn]] void fail(const QString &what)
{
    throw PrinterError(what.toStdString());
}

} // namespace

PrintServer cupsPrintServer()
{
    PrintServer server;
    server.checkReady = cups_queue::checkReady;
    server.margins = [](const QString &queue, const QPageSize &size, QPageLayout::Orientation orientation) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
        if (info.isNull())
            fail(QStringLiteral("printer %1 is not available").arg(queue));
        QPrinter probe(info, QPrinter::HighResolution);
        probe.setPageSize(size);
        probe.setPageOrientation(orientation);
        return probe.pageLayout().margins(QPageLayout::Millimeter);
    };
    server.submitPdf = cups_queue::submitPdf;
    return server;
}

QtPrinter::QtPrinter()
    : QtPrinter(QPrinterInfo::defaultPrinter().printerName(), cupsPrintServer())
{ }

QtPrinter::QtPrinter(const QString &queue, PrintServer server)
    : QtPrinter(QString())
{
    m_queue = queue;
    m_server = std::move(server);
}

QtPrinter::QtPrinter(const QString &pdfFile)
    : m_pdfFile(pdfFile)
{
    m_font.setFamily(QStringLiteral("Arial"));
    setFontSize(10);
}

QtPrinter::~QtPrinter()
{
    // A document left open was never finished: it must not come out.
    if (m_painter.isActive())
        closeDocument(false);
}

void QtPrinter::setPaperSize(int code)
{
    switch (code) {
    case 1:
        m_pageSize = QPageSize::Letter;
        break;
    case 5:
        m_pageSize = QPageSize::Legal;
        break;
    case 8:
        m_pageSize = QPageSize::A3;
        break;
    case 9:
        m_pageSize = QPageSize::A4;
        break;
    case 11:
        m_pageSize = QPageSize::A5;
        break;
    default:
        fail(QStringLiteral("paper size %1 is not supported").arg(code));
    }
}

void QtPrinter::setOrientation(int code)
{
    if (code != 1 && code != 2)
        fail(QStringLiteral("orientation %1 is not supported").arg(code));
    m_orientation = code == 1 ? QPageLayout::Portrait : QPageLayout::Landscape;
}

void QtPrinter::setCopies(int copies)
{
    if (copies < 1)
        fail(QStringLiteral("%1 copies").arg(copies));
    m_copies = copies;
}

void QtPrinter::setScaleMode(int code)
{
    switch (code) {
    case 1:
        m_unitsPerInch = 1440;
        break; // twips
    case 2:
        m_unitsPerInch = 72;
        break; // points
    case 5:
        m_unitsPerInch = 1;
        break; // inches
    case 6:
        m_unitsPerInch = 25.4;
        break; // millimetres
    case 7:
        m_unitsPerInch = 2.54;
        break; // centimetres
    default:
        fail(QStringLiteral("scale mode %1 is not supported").arg(code));
    }
}

void QtPrinter::setScaleLeft(float left)
{
    m_scaleLeft = left;
}
void QtPrinter::setScaleTop(float top)
{
    m_scaleTop = top;
}

void QtPrinter::setFontName(const QString &name)
{
    m_font.setFamily(name);
}
float QtPrinter::FontSize() const
{
    return m_fontSize;
}

void QtPrinter::setFontSize(float points)
{
    if (!(points > 0))
        fail(QStringLiteral("font size %1").arg(points));
    m_fontSize = points;
    m_font.setPointSizeF(points);
}

void QtPrinter::setFontBold(bool bold)
{
    m_font.setBold(bold);
}
void QtPrinter::setFontUnderline(bool underline)
{
    m_font.setUnderline(underline);
}

double QtPrinter::deviceUnitsPerUnit() const
{
    return DeviceDpi / m_unitsPerInch;
}

QPointF QtPrinter::toDevice(double x, double y) const
{
    const double scale = deviceUnitsPerUnit();
    return QPointF((x - m_scaleLeft) * scale, (y - m_scaleTop) * scale);
}

double QtPrinter::lineHeight() const
{
    return QFontMetricsF(m_font, metricsDevice()).lineSpacing() / deviceUnitsPerUnit();
}

void QtPrinter::lineBreak()
{
    m_currentX = m_scaleLeft;
    m_currentY = static_cast<float>(m_currentY + lineHeight());
}

void QtPrinter::beginDocument()
{
    QMarginsF margins(PdfFileMarginMm, PdfFileMarginMm, PdfFileMarginMm, PdfFileMarginMm);
    QString spoolTemplate;
    if (m_pdfFile.isEmpty()) {
        if (m_queue.isEmpty() || !m_server.checkReady)
            fail(QStringLiteral("no default printer"));
        m_server.checkReady(m_queue);
        // The printable area is the printer's own.
        margins = m_server.margins(m_queue, QPageSize(m_pageSize), m_orientation);
        spoolTemplate = QDir::tempPath() + QStringLiteral("/warmtegloed-XXXXXX.pdf");
    } else {
        const QFileInfo target(m_pdfFile);
        spoolTemplate = target.absolutePath() + '/' + target.fileName() + QStringLiteral(".XXXXXX");
    }

    auto spool = std::make_unique<QTemporaryFile>(spoolTemplate);
    if (!spool->open())
        fail(QStringLiteral("cannot write %1: %2").arg(spoolTemplate, spool->errorString()));
    spool->close();

    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(DeviceDpi);
    printer->setOutputFileName(spool->fileName());
    printer->setDocName(DocumentTitle);
    printer->setCreator(DocumentTitle);
    printer->setPageLayout(
        QPageLayout(QPageSize(m_pageSize), m_orientation, margins, QPageLayout::Millimeter));
    printer->setFullPage(false);
    if (!m_painter.begin(printer.get()))
        fail(QStringLiteral("the printer did not start"));
    m_printer = std::move(printer);
    m_spool = std::move(spool);
}

void QtPrinter::closeDocument(bool deliver)
{
    const bool written = m_painter.end();
    const QString spoolFile = m_spool->fileName();
    m_currentX = 0;
    m_currentY = 0;
    if (!deliver || !written) {
        m_spool.reset(); // removes the spool file
        if (deliver)
            fail(QStringLiteral("the page could not be finished"));
        return;
    }
    if (m_pdfFile.isEmpty()) {
        auto spool = std::move(m_spool);
        // The queue may have stopped or gone while the user read where the page goes; a
        // page held there would come out whenever someone restarts it, so it is dropped.
        m_server.checkReady(m_queue);
        m_server.submitPdf(m_queue, spoolFile, DocumentTitle, m_copies, QPageSize(m_pageSize).key());
    } else {
        QFile::remove(m_pdfFile);
        const bool renamed = m_spool->rename(m_pdfFile);
        if (renamed)
            m_spool->setAutoRemove(false);
        const QString error = m_spool->errorString();
        m_spool.reset();
        if (!renamed)
            fail(QStringLiteral("cannot write %1: %2").arg(m_pdfFile, error));
    }
}

void QtPrinter::drawSegment(const QString &segment)
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

void QtPrinter::Print(const QString &text, bool lineEnd)
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

void QtPrinter::Line(float x1, float y1, float x2, float y2)
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

void QtPrinter::setDrawStyle(int style)
{
    if (style < 0 || style > 6)
        fail(QStringLiteral("draw style %1").arg(style));
    m_drawStyle = style;
}

void QtPrinter::setDrawWidth(int pixels)
{
    if (pixels < 1)
        fail(QStringLiteral("draw width %1").arg(pixels));
    m_drawWidth = pixels;
}

void QtPrinter::PaintPicture(const QImage &picture, float x, float y, float width, float height)
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

float QtPrinter::TextWidth(const QString &text)
{
    return static_cast<float>(QFontMetricsF(m_font, metricsDevice()).horizontalAdvance(text)
                              / deviceUnitsPerUnit());
}

QString QtPrinter::DeviceName() const
{
    return m_pdfFile.isEmpty() ? m_queue : QFileInfo(m_pdfFile).fileName();
}

void QtPrinter::EndDoc()
{
    if (m_painter.isActive())
        closeDocument(true);
}

void QtPrinter::KillDoc()
{
    if (m_painter.isActive())
        closeDocument(false);
}

std::unique_ptr<Printer> makeDefaultPrinter()
{
    return std::make_unique<QtPrinter>();
}

} // namespace platform
