#include "help_pdf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

namespace {

constexpr int kResolution = 300; // dots per inch of the page layout
constexpr double kMarginSideMm = 20.0;
constexpr double kMarginTopMm = 18.0;
constexpr double kMarginBottomMm = 22.0;

} // namespace

HelpPdfWriter::HelpPdfWriter(const QString &title)
    : m_title(title)
{ }

void HelpPdfWriter::addPicture(const QString &name, const QImage &image)
{
    if (!image.isNull())
        m_pictures.append({name, image});
}

QString HelpPdfWriter::withoutMissingPictures(QString html) const
{
    static const QRegularExpression image(QStringLiteral("<img\\s[^>]*src=\"([^\"]+)\"[^>]*>"));
    QRegularExpressionMatchIterator it = image.globalMatch(html);
    QStringList drop;
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        const bool supplied = std::any_of(m_pictures.cbegin(), m_pictures.cend(),
                                          [&name](const auto &picture) { return picture.first == name; });
        if (!supplied)
            drop.append(match.captured(0));
    }
    for (const QString &tag : drop)
        html.remove(tag);
    return html;
}

bool HelpPdfWriter::write(const QString &htmlPath, const QString &pdfPath)
{
    QFile source(htmlPath);
    if (!source.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read %1: %2").arg(htmlPath, source.errorString());
        return false;
    }

    QPdfWriter writer(pdfPath);
    writer.setTitle(m_title);
    writer.setCreator(QStringLiteral("Warmtegloedvracht"));
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));

    // The layout is made for the PDF's resolution, so point sizes and picture widths
    // come out on paper as they read in the HTML.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 10));
    document.setDocumentMargin(0);
    // Pictures are looked up by the source's folder resolved against their name.
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(htmlPath).absolutePath() + QLatin1Char('/')));
    for (const auto &picture : std::as_const(m_pictures))
        document.addResource(QTextDocument::ImageResource, document.baseUrl().resolved(QUrl(picture.first)),
                             picture.second);
    document.setHtml(withoutMissingPictures(QString::fromUtf8(source.readAll())));

    const double dotsPerMm = kResolution / 25.4;
    const QSizeF paper = writer.pageLayout().fullRectPixels(kResolution).size();
    const QRectF body(kMarginSideMm * dotsPerMm, kMarginTopMm * dotsPerMm,
                      paper.width() - 2 * kMarginSideMm * dotsPerMm,
                      paper.height() - (kMarginTopMm + kMarginBottomMm) * dotsPerMm);
    document.setPageSize(body.size());

    QPainter painter;
    if (!painter.begin(&writer)) {
        m_error = QStringLiteral("cannot write %1").arg(pdfPath);
        return false;
    }
    const int pageCount = document.pageCount();
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            writer.newPage();
        const QRectF slice(0, page * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(body.left(), body.top() - slice.top());
        painter.setClipRect(slice);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = slice;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        drawFooter(painter, body, page + 1, pageCount);
    }
    return painter.end();
}

void HelpPdfWriter::drawFooter(QPainter &painter, const QRectF &body, int page, int pageCount) const
{
    const double dotsPerMm = kResolution / 25.4;
    const double top = body.bottom() + 6 * dotsPerMm;
    painter.save();
    painter.setPen(QPen(QColor(0x7a, 0x3b, 0x10), 0.3 * dotsPerMm));
    painter.drawLine(QPointF(body.left(), top), QPointF(body.right(), top));
    painter.setPen(QColor(0x44, 0x44, 0x44));
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    const QRectF line(body.left(), top + 1.5 * dotsPerMm, body.width(), 5 * dotsPerMm);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, m_title);
    painter.drawText(line, Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("Pagina %1 van %2").arg(page).arg(pageCount));
    painter.restore();
}
