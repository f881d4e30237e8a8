// render_icon: draws the program's SVG icon as square PNG files for the hicolor icon
// theme, for desktops and software centres that do not scale SVG icons themselves.
// Usage: render_icon <icon.svg> <size> <out.png> [<size> <out.png> ...]

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
        return fail(QStringLiteral("usage: render_icon <icon.svg> <size> <out.png> [<size> <out.png> ...]"));
    QSvgRenderer renderer(args.at(0));
    if (!renderer.isValid())
        return fail(QStringLiteral("cannot read %1").arg(args.at(0)));
    for (qsizetype i = 1; i < args.size(); i += 2) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size <= 0 || size > 1024)
            return fail(QStringLiteral("bad size '%1'").arg(args.at(i)));
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        if (!writePng(image, args.at(i + 1)))
            return fail(QStringLiteral("cannot write %1").arg(args.at(i + 1)));
    }
    return 0;
}
