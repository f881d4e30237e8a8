// warmtegloed-verkenning: the exploration window of Warmtegloedvracht.

#include "explore_window.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("warmtegloed-verkenning"));
    QApplication::setApplicationDisplayName(QStringLiteral("Warmtegloed – Verkenning"));
    explore::ExploreWindow window;
    window.show();
    return QApplication::exec();
}
