#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

// Adds what Qt's PDF writer cannot make to a finished PDF of its own: an outline
// (bookmarks) of the chapters and links from the table of contents to them. The
// additions are appended as an incremental update, leaving Qt's objects untouched.
namespace pdf_outline {

struct Chapter
{
    QString title;
    int page = 0;   // from 0
    double top = 0; // points from the page's top edge
};

struct Link
{
    int page = 0;
    QRectF area;     // points from the page's top-left corner
    int chapter = 0; // index into the chapters
};

// Empty when the document is not laid out as Qt writes it (one cross-reference
// table, pages with an indirect annotation array); error says why.
QByteArray withOutline(const QByteArray &pdf, const QList<Chapter> &chapters, const QList<Link> &links,
                       QString *error);

} // namespace pdf_outline
