// render_icon: draws an SVG picture as PNG files: the program's icon in the square sizes
// of the hicolor icon theme, for desktops and software centres that do not scale SVG icons
// themselves, and the window's pictures at the sizes it shows them, so that it need not
// draw them from the vectors at every start.
// Usage: render_icon <picture.svg> <size> <out> [<size> <out> ...]
// where a size is N (N x N pixels) or WxH, and an out file ending in .png is a PNG file,
// one ending in .pixels the picture as the window holds it in memory (see picture_box.h).

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>
#include <QtEndian>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "render_icon: " << message << '\n';
    return 1;
}

// Written through a temporary file, so that a broken render never leaves a half PNG
// that the build would take for finished.
bool writePng(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, "PNG"))
        return false;
    return file.commit();
}

// The pixels as a window that read the PNG file would hold them: the PNG's straight alpha
// multiplied out again, so that both show the very same pixels. After a small header (the
// tag, width, height and image format, each a 32-bit little-endian number) come the rows,
// without padding, each pixel a 32-bit number in the machine's own byte order.
bool writePixels(const QImage &image, const QString &path)
{
    QByteArray png;
    QBuffer pngBuffer(&png);
    if (!pngBuffer.open(QIODevice::WriteOnly) || !image.save(&pngBuffer, "PNG"))
        return false;
    const QImage shown = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (shown.isNull() || shown.size() != image.size())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const quint32 header[] = {qToLittleEndian(quint32(0x58504757)), // "WGPX"
                              qToLittleEndian(quint32(shown.width())),
                              qToLittleEndian(quint32(shown.height())),
                              qToLittleEndian(quint32(shown.format()))};
    bool written = file.write(reinterpret_cast<const char *>(header), sizeof header) == qint64(sizeof header);
    const qint64 rowBytes = qint64(shown.width()) * 4;
    for (int row = 0; written && row < shown.height(); ++row)
        written = file.write(reinterpret_cast<const char *>(shown.constScanLine(row)), rowBytes) == rowBytes;
    return written && file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() < 3 || args.size() % 2 == 0)
        return fail(QStringLiteral("usage: render_icon <picture.svg> <size> <out> [<size> <out> ...]"));
    QSvgRenderer renderer(args.at(0));
    if (!renderer.isValid())
        return fail(QStringLiteral("cannot read %1").arg(args.at(0)));
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QStringList sides = args.at(i).split(QLatin1Char('x'));
        bool wide = false;
        bool high = false;
        const int width = sides.value(0).toInt(&wide);
        const int height = sides.size() == 1 ? width : sides.value(1).toInt(&high);
        if (sides.size() > 2 || !wide || (sides.size() == 2 && !high) || width <= 0 || width > 4096
            || height <= 0 || height > 4096)
            return fail(QStringLiteral("bad size '%1'").arg(args.at(i)));
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, width, height));
        painter.end();
        const QString out = args.at(i + 1);
        if (!(out.endsWith(QLatin1String(".pixels")) ? writePixels(image, out) : writePng(image, out)))
            return fail(QStringLiteral("cannot write %1").arg(out));
    }
    return 0;
}
