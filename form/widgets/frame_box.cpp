#include "frame_box.h"

#include <QPainter>

FrameBox::FrameBox(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    setAutoFillBackground(true);
}

QRect FrameBox::captionRect() const
{
    const QFontMetrics metrics(font());
    return QRect(6, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int edge = metrics.height() / 2;
    const QRect outline = rect().adjusted(0, edge, -2, -2);

    // Etched: a dark line with a light one just inside and below it.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(outline);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(outline.translated(1, 1));

    const QRect captionBox = captionRect();
    painter.fillRect(captionBox, palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionBox, Qt::AlignCenter, m_caption);
}
