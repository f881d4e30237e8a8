// render_icon: draws an SVG picture as PNG files: the program's icon in the square sizes
// of the hicolor icon theme, for desktops and software centres that do not scale SVG icons
// themselves, and the window's pictures at the sizes it shows them, so that it need not
// draw them from the vectors at every start.
// Usage: render_icon <picture.svg> <size> <out.png> [<size> <out.png> ...]
// where a size is N (N x N pixels) or WxH.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

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

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() < 3 || args.size() % 2 == 0)
        return fail(
            QStringLiteral("usage: render_icon <picture.svg> <size> <out.png> [<size> <out.png> ...]"));
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
        if (!writePng(image, args.at(i + 1)))
            return fail(QStringLiteral("cannot write %1").arg(args.at(i + 1)));
    }
    return 0;
}
