// The yardstick of the start-up benchmark: a bare Qt Widgets window of the classic window's
// size and caption, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003"));
    window.setFixedSize(710, 551);
    window.show();
    return app.exec();
}
