#include "help_pdf_writer.h"

#include "pdf_outline.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

namespace {

constexpr int kResolution = 300; // dots per inch of the page layout
constexpr double kMarginSideMm = 20.0;
constexpr double kMarginTopMm = 18.0;
constexpr double kMarginBottomMm = 22.0;
// The heading above the list of chapters, and how far left of an entry its number stands.
constexpr char kContentsHeading[] = "Inhoud";
constexpr double kContentsNumberDots = 60;

// Qt's writer stamps the document with the time it writes it, "/CreationDate (D:" and
// fourteen digits of UTC; the stamp is rewritten in place, so no offset in the file moves.
bool stampCreationTime(QByteArray &pdf, const QDateTime &when)
{
    static const QRegularExpression stamp(QStringLiteral("/CreationDate \\(D:(\\d{14})Z\\)"));
    const QRegularExpressionMatch match = stamp.match(QString::fromLatin1(pdf));
    if (!match.hasMatch())
        return false;
    const QByteArray digits = when.toUTC().toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
    if (digits.size() != 14)
        return false;
    pdf.replace(match.capturedStart(1), digits.size(), digits);
    return true;
}

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

    QBuffer rendered;
    rendered.open(QIODevice::WriteOnly);
    QPdfWriter writer(&rendered);
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
    keepParagraphsTogether(document, body.height());
    const std::optional<Contents> contents = numberContents(document, body);
    if (!contents)
        return false;

    QPainter painter;
    if (!painter.begin(&writer)) {
        m_error = QStringLiteral("cannot render %1").arg(pdfPath);
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
        // The first line of the next page starts a hair above this page's bottom.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = slice.adjusted(0, 0, 0, -1);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        drawFooter(painter, body, page + 1, pageCount);
    }
    if (!painter.end()) {
        m_error = QStringLiteral("cannot render %1").arg(pdfPath);
        return false;
    }

    QByteArray written = rendered.data();
    if (m_creationTime.isValid() && !stampCreationTime(written, m_creationTime)) {
        m_error = QStringLiteral("no creation date to set in %1").arg(pdfPath);
        return false;
    }
    const QByteArray pdf = pdf_outline::withOutline(written, contents->chapters, contents->links, &m_error);
    if (pdf.isEmpty())
        return false;
    QSaveFile target(pdfPath);
    if (!target.open(QIODevice::WriteOnly) || target.write(pdf) != pdf.size() || !target.commit()) {
        m_error = QStringLiteral("cannot write %1: %2").arg(pdfPath, target.errorString());
        return false;
    }
    return true;
}

// The layout draws the last line above the page of a paragraph that runs on from the
// page before, hidden by the clip but standing twice in the text a reader searches:
// a paragraph that would run over a page break starts on the next page instead, and
// so does a heading that would end a page.
void HelpPdfWriter::keepParagraphsTogether(QTextDocument &document, double pageHeight)
{
    // Lines are placed within their frame (a table cell); the block's rectangle says
    // where that frame stands on the pages.
    const auto pageOf = [&document, pageHeight](const QTextBlock &block, int line) {
        const QTextLayout *layout = block.layout();
        const double frameTop =
            document.documentLayout()->blockBoundingRect(block).top() - layout->boundingRect().top();
        return int((frameTop + layout->lineAt(line).y() + 1) / pageHeight);
    };
    QSet<int> moved; // blocks and tables already sent to a new page
    for (bool again = true; again;) {
        again = false;
        document.pageCount(); // finishes the layout
        for (QTextBlock block = document.begin(); block.isValid() && !again; block = block.next()) {
            const int lines = block.layout()->lineCount();
            if (lines == 0)
                continue;
            // A heading stays with what follows it.
            const QTextBlock next = block.next();
            const bool headingAlone = block.blockFormat().headingLevel() > 0 && next.isValid()
                && next.layout()->lineCount() > 0 && pageOf(next, 0) != pageOf(block, 0);
            if (!headingAlone && pageOf(block, 0) == pageOf(block, lines - 1))
                continue;
            // A table row cannot start a page of its own: the whole table moves, with
            // the heading above it.
            QTextCursor cursor(block);
            QTextTable *table = cursor.currentTable();
            const QTextBlock above =
                table ? document.findBlock(table->firstPosition()).previous() : QTextBlock();
            if (above.isValid() && above.blockFormat().headingLevel() > 0) {
                table = nullptr;
                cursor = QTextCursor(above);
            }
            const int which = table ? -1 - table->firstPosition() : cursor.block().position();
            if (moved.contains(which))
                continue; // longer than a page: nothing to be done
            moved.insert(which);
            if (table) {
                QTextTableFormat format = table->format();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                table->setFormat(format);
            } else {
                QTextBlockFormat format = cursor.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                cursor.setBlockFormat(format);
            }
            again = true;
        }
    }
}

// The chapters are the numbered second-level headings; the contents list before them
// names each one in order. Its entries get the page of their chapter, and both are
// placed on the pages for the outline and the links.
std::optional<HelpPdfWriter::Contents> HelpPdfWriter::numberContents(QTextDocument &document,
                                                                     const QRectF &body)
{
    const double pointsPerDot = 72.0 / kResolution;
    QList<QTextBlock> headings;
    QList<QTextBlock> entries;
    bool inContents = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 2) {
            inContents = block.text() == QLatin1String(kContentsHeading);
            if (!block.text().isEmpty() && block.text().at(0).isDigit())
                headings << block;
        } else if (inContents && block.textList()) {
            entries << block;
        }
    }
    if (headings.isEmpty() || headings.size() != entries.size()) {
        m_error = QStringLiteral("%1 chapters but %2 entries in the contents")
                      .arg(headings.size())
                      .arg(entries.size());
        return std::nullopt;
    }
    for (int i = 0; i < headings.size(); ++i) {
        if (!headings[i].text().endsWith(QLatin1Char(' ') + entries[i].text().trimmed())) {
            m_error = QStringLiteral("contents entry \"%1\" is not chapter \"%2\"")
                          .arg(entries[i].text(), headings[i].text());
            return std::nullopt;
        }
    }

    // The top of a block's first line, in dots from the top of the first page's body.
    const auto topOf = [&document](const QTextBlock &block) {
        document.pageCount(); // finishes the layout
        return block.layout()->position().y() + block.layout()->lineAt(0).y();
    };
    const auto pageOf = [&](const QTextBlock &block) { return int(topOf(block) / body.height()); };

    // The page numbers go behind a tab stop near the right edge; they change no line
    // break, but the layout is made afresh to be sure.
    QList<int> pages;
    for (const QTextBlock &heading : std::as_const(headings))
        pages << pageOf(heading);
    for (int i = 0; i < entries.size(); ++i) {
        QTextCursor cursor(entries[i]);
        QTextBlockFormat format = entries[i].blockFormat();
        // Tab stops count in pixels of a 96 dpi screen, whatever the device.
        format.setTabPositions(
            {QTextOption::Tab(body.width() * 0.75 * 96 / kResolution, QTextOption::RightTab)});
        cursor.setBlockFormat(format);
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QStringLiteral("\t%1").arg(pages[i] + 1));
    }
    document.markContentsDirty(0, document.characterCount());
    for (int i = 0; i < headings.size(); ++i) {
        if (pageOf(headings[i]) != pages[i]) {
            m_error = QStringLiteral("the page numbers in the contents moved chapter \"%1\"")
                          .arg(headings[i].text());
            return std::nullopt;
        }
    }

    Contents contents;
    for (int i = 0; i < headings.size(); ++i) {
        const double top = topOf(headings[i]);
        const int page = int(top / body.height());
        contents.chapters.append(
            {headings[i].text(), page, (body.top() + top - page * body.height()) * pointsPerDot});
        const QTextLine line = entries[i].layout()->lineAt(0);
        const double entryTop = topOf(entries[i]);
        const int entryPage = int(entryTop / body.height());
        // The whole line, from the list's number to the page number.
        const QRectF area(body.left() + entries[i].layout()->position().x() - kContentsNumberDots,
                          body.top() + entryTop - entryPage * body.height(),
                          line.naturalTextWidth() + kContentsNumberDots, line.height());
        contents.links.append(
            {entryPage, QRectF(area.topLeft() * pointsPerDot, area.size() * pointsPerDot), i});
    }
    return contents;
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
