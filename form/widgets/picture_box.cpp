#include "picture_box.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

PictureBox::PictureBox(const QString &resource, Fit fit, QSize naturalSize, QWidget *parent)
    : QWidget(parent)
    , m_resource(resource)
    , m_fit(fit)
    , m_naturalSize(naturalSize)
{ }

QSvgRenderer *PictureBox::renderer() const
{
    if (!m_renderer) {
        m_renderer = new QSvgRenderer(const_cast<PictureBox *>(this));
        // A build without the pictures shows empty boxes rather than complaining.
        if (QFile::exists(m_resource))
            m_renderer->load(m_resource);
    }
    return m_renderer;
}

bool PictureBox::hasPicture() const
{
    return renderer()->isValid();
}

QImage PictureBox::image(int scale) const
{
    if (!hasPicture())
        return {};
    QImage picture(m_naturalSize * scale, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer()->render(&painter, QRectF(QPointF(0, 0), QSizeF(picture.size())));
    painter.end();
    picture.setDevicePixelRatio(scale);
    return picture;
}

QPixmap PictureBox::picture(QSize devicePixels) const
{
    if (!m_shown.isNull() && m_shown.size() == devicePixels)
        return m_shown;
    QString rendering = m_resource;
    rendering.replace(QStringLiteral(".svg"),
                      QStringLiteral("-%1x%2.png").arg(devicePixels.width()).arg(devicePixels.height()));
    m_shownFromRendering = m_shown.load(rendering);
    if (m_shownFromRendering || !hasPicture())
        return m_shown;
    QImage drawn(devicePixels, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer()->render(&painter, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
    painter.end();
    m_shown = QPixmap::fromImage(drawn);
    return m_shown;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    const QRect target = m_fit == Fit::Stretch ? rect() : QRect(QPoint(0, 0), m_naturalSize);
    const qreal ratio = devicePixelRatioF();
    const QPixmap shown = picture((QSizeF(target.size()) * ratio).toSize());
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(target, shown);
}
