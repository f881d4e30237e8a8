// Renders the help document "Hulpschermen.pdf" from its HTML source during the build,
// with a picture of the main window grabbed offscreen.

#include "help_pdf_writer.h"
#include "window_picture.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QHashFunctions>
#include <QTextStream>

namespace {
constexpr qint64 kLatestEpoch = 253402300799; // 9999-12-31 23:59:59 UTC, the last four-digit year
} // namespace

int main(int argc, char *argv[])
{
    // Qt's PDF writer writes the fonts in the order of a hash table; with the per-run random
    // seed their order, and so the file, would change from build to build.
    QHashSeed::setDeterministicGlobalSeed();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: make_help_pdf <hulpschermen.html> <Hulpschermen.pdf>\n";
        return 2;
    }

    HelpPdfWriter writer(QStringLiteral("Warmtegloedvracht - Hulpschermen"));
    // A build that must give the same bytes every time names the time to stamp, in seconds
    // since 1970 (the reproducible-builds convention, set by ./package from the changelog).
    if (qEnvironmentVariableIsSet("SOURCE_DATE_EPOCH")) {
        const QString epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH");
        bool ok = false;
        const qint64 seconds = epoch.toLongLong(&ok);
        if (!ok || seconds < 0 || seconds > kLatestEpoch) {
            QTextStream(stderr) << "make_help_pdf: SOURCE_DATE_EPOCH is not a time: " << epoch << '\n';
            return 2;
        }
        writer.setCreationTime(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC));
    }
    const QImage window = grabMainWindow();
    if (window.isNull()) {
        QTextStream(stderr) << "make_help_pdf: the window did not become active to be drawn\n";
        return 1;
    }
    writer.addPicture(QStringLiteral("venster.png"), window);
    if (!writer.write(args.at(1), args.at(2))) {
        QTextStream(stderr) << "make_help_pdf: " << writer.errorString() << '\n';
        QFile::remove(args.at(2));
        return 1;
    }
    return 0;
}
