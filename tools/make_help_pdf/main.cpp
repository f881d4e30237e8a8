// Renders the help document "Hulpschermen.pdf" from its HTML source during the build,
// with a picture of the main window grabbed offscreen.

#include "help_pdf_writer.h"
#include "window_picture.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: make_help_pdf <hulpschermen.html> <Hulpschermen.pdf>\n";
        return 2;
    }

    HelpPdfWriter writer(QStringLiteral("Warmtegloedvracht - Hulpschermen"));
    writer.addPicture(QStringLiteral("venster.png"), grabMainWindow());
    if (!writer.write(args.at(1), args.at(2))) {
        QTextStream(stderr) << "make_help_pdf: " << writer.errorString() << '\n';
        QFile::remove(args.at(2));
        return 1;
    }
    return 0;
}
