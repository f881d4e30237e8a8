// warmtegloed-verkenning: the exploration window of Warmtegloedvracht.

#include "application_setup.h"
#include "explore_window.h"

#include <QApplication>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    QString caseFile;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (const int done = explore::HandleCommandLine(arguments, out, err, &caseFile); done >= 0)
            return done;
    }
    QApplication application(argc, argv);
    QTranslator qtTexts;
    explore::SetUpApplication(application, qtTexts);
    explore::ExploreWindow window;
    window.show();
    // After the window is on the screen, so that its questions have a window to stand on.
    window.startUp(caseFile);
    return QApplication::exec();
}
