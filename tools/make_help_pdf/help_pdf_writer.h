#pragma once

#include "pdf_outline.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <optional>

class QTextDocument;

// Lays the help document's HTML out on A4 pages and writes it as a PDF with a footer
// that numbers the pages, page numbers in the contents, links from the contents to the
// chapters and an outline of them.
class HelpPdfWriter
{
public:
    explicit HelpPdfWriter(const QString &title);

    // Pictures the HTML refers to by name (an <img src="name">) that are made by the
    // program rather than read from disk; an <img> whose picture is missing is dropped.
    void addPicture(const QString &name, const QImage &image);
    // The time the document says it was made; unset, the time it is written.
    void setCreationTime(const QDateTime &when) { m_creationTime = when; }
    bool write(const QString &htmlPath, const QString &pdfPath);
    QString errorString() const { return m_error; }

private:
    struct Contents
    {
        QList<pdf_outline::Chapter> chapters;
        QList<pdf_outline::Link> links;
    };
    static void keepParagraphsTogether(QTextDocument &document, double pageHeight);
    std::optional<Contents> numberContents(QTextDocument &document, const QRectF &body);
    QString withoutMissingPictures(QString html) const;
    void drawFooter(class QPainter &painter, const class QRectF &body, int page, int pageCount) const;

    QString m_title;
    QDateTime m_creationTime;
    QList<QPair<QString, QImage>> m_pictures;
    QString m_error;
};
