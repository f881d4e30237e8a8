#include "picture_box.h"

#include <QFile>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <QtEndian>

namespace {

constexpr quint32 PixelsTag = 0x58504757; // "WGPX"
constexpr qint64 PixelsHeaderBytes = 16;
constexpr quint32 LargestSide = 4096;

} // namespace

QImage readPixels(const QString &path)
{
    QByteArray bytes;
    const uchar *data = nullptr;
    qint64 size = 0;
    const QResource resource(path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression) {
        data = resource.data();
        size = resource.size();
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        bytes = file.readAll();
        data = reinterpret_cast<const uchar *>(bytes.constData());
        size = bytes.size();
    }
    if (!data || size < PixelsHeaderBytes)
        return {};
    const quint32 tag = qFromLittleEndian<quint32>(data);
    const quint32 width = qFromLittleEndian<quint32>(data + 4);
    const quint32 height = qFromLittleEndian<quint32>(data + 8);
    const quint32 format = qFromLittleEndian<quint32>(data + 12);
    if (tag != PixelsTag || width == 0 || width > LargestSide || height == 0 || height > LargestSide
        || format != QImage::Format_ARGB32_Premultiplied
        || size != PixelsHeaderBytes + qint64(width) * qint64(height) * 4)
        return {};
    const uchar *pixels = data + PixelsHeaderBytes;
    const QImage shown(pixels, int(width), int(height), int(width) * 4, QImage::Format_ARGB32_Premultiplied);
    // The resources stay for the program's life; a file read here, or pixels that do not
    // lie on 32-bit boundaries, are copied.
    if (bytes.isEmpty() && quintptr(pixels) % alignof(quint32) == 0)
        return shown;
    return shown.copy();
}

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

QImage PictureBox::picture(QSize devicePixels) const
{
    if (!m_shown.isNull() && m_shown.size() == devicePixels)
        return m_shown;
    QString rendering = m_resource;
    rendering.replace(QStringLiteral(".svg"),
                      QStringLiteral("-%1x%2").arg(devicePixels.width()).arg(devicePixels.height()));
    m_shown = readPixels(rendering + QStringLiteral(".pixels"));
    if (m_shown.isNull())
        m_shown =
            QImage(rendering + QStringLiteral(".png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_shownFromRendering = !m_shown.isNull();
    if (m_shownFromRendering || !hasPicture())
        return m_shown;
    QImage drawn(devicePixels, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer()->render(&painter, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
    painter.end();
    m_shown = drawn;
    return m_shown;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    const QRect target = m_fit == Fit::Stretch ? rect() : QRect(QPoint(0, 0), m_naturalSize);
    const qreal ratio = devicePixelRatioF();
    const QImage shown = picture((QSizeF(target.size()) * ratio).toSize());
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(target, shown);
}
