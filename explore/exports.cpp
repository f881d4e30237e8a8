#include "exports.h"

#include "safe_file.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace explore {

QString ViewTitle(ViewKind kind)
{
    switch (kind) {
    case ViewKind::Distance:
        return QStringLiteral("Afstand");
    case ViewKind::Height:
        return QStringLiteral("Hoogte");
    case ViewKind::Plan:
        return QStringLiteral("Plattegrond");
    }
    return {};
}

QString WriteFileAtomically(const QString &path, const QByteArray &data)
{
    QString error;
    if (!platform::SafeFile::write(path, data, &error))
        return error;
    return {};
}

QByteArray RenderPng(ViewKind kind, const Exploration &exploration, const QSize &size, const QLocale &locale)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintView(painter, QRectF(QPointF(0, 0), size), kind, exploration, locale);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray RenderSvg(ViewKind kind, const Exploration &exploration, const QSize &size, const QLocale &locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Warmtegloed – Verkenning: %1").arg(ViewTitle(kind)));
    {
        QPainter painter(&generator);
        PaintView(painter, QRectF(QPointF(0, 0), size), kind, exploration, locale);
    }
    return bytes;
}

} // namespace explore
