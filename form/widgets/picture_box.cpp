#include "picture_box.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

PictureBox::PictureBox(const QString &resource, Fit fit, QSize naturalSize, QWidget *parent)
    : QWidget(parent)
    , m_fit(fit)
    , m_naturalSize(naturalSize)
    , m_renderer(new QSvgRenderer(this))
{
    // A build without the pictures shows empty boxes rather than complaining.
    if (QFile::exists(resource))
        m_renderer->load(resource);
}

bool PictureBox::hasPicture() const
{
    return m_renderer->isValid();
}

QImage PictureBox::image(int scale) const
{
    if (!hasPicture())
        return {};
    QImage picture(m_naturalSize * scale, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(picture.size())));
    painter.end();
    picture.setDevicePixelRatio(scale);
    return picture;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (!hasPicture())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF target =
        m_fit == Fit::Stretch ? QRectF(rect()) : QRectF(QPointF(0, 0), QSizeF(m_naturalSize));
    m_renderer->render(&painter, target);
}
