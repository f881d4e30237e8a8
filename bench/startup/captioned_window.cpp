// A second yardstick of the start-up benchmark: the bare window with one line of text in the
// classic window's font, so that it pays the font system's start as every window with
// text does.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Warmtegloedvracht"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    window.setFont(font);
    window.setWindowTitle(QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003"));
    window.setFixedSize(710, 551);
    window.show();
    return app.exec();
}
