#pragma once

#include <QImage>
#include <QString>

class QTextDocument;

// Lays the help document's HTML out on A4 pages and writes it as a PDF with a footer
// that numbers the pages.
class HelpPdfWriter
{
public:
    explicit HelpPdfWriter(const QString &title);

    // Pictures the HTML refers to by name (an <img src="name">) that are made by the
    // program rather than read from disk; an <img> whose picture is missing is dropped.
    void addPicture(const QString &name, const QImage &image);
    bool write(const QString &htmlPath, const QString &pdfPath);
    QString errorString() const { return m_error; }

private:
    QString withoutMissingPictures(QString html) const;
    void drawFooter(class QPainter &painter, const class QRectF &body, int page, int pageCount) const;

    QString m_title;
    QList<QPair<QString, QImage>> m_pictures;
    QString m_error;
};
