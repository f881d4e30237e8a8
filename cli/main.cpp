// warmtegloed-cli: the calculation of the "Bereken" button without a window, for batch
// use and for checking figures.

#include "calculation_run.h"
#include "command_line.h"
#include "limit_options.h"
#include "parser_messages.h"
#include "program_output.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <clocale>
#include <memory>

namespace {

// Qt's own remarks (a missing runtime folder in a cron job, font notes) are not the
// program's messages: stderr carries only those.
void dropQtMessage(QtMsgType, const QMessageLogContext &, const QString &)
{ }

// The arguments as the user typed them. The application gets none of them: a GUI
// application would take "-platform" and the like for itself.
QStringList arguments(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

// Only the report and the chart need fonts and painting; they draw offscreen, whatever
// display the environment names.
std::unique_ptr<QCoreApplication> makeApplication(int argc, char *argv[], int &appArgc, char **appArgv)
{
    std::unique_ptr<QCoreApplication> app;
    if (cli::wantsPdf(argc, argv) || cli::wantsPlot(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(appArgc, appArgv);
    } else {
        app = std::make_unique<QCoreApplication>(appArgc, appArgv);
    }
    // Numbers in C library calls keep their point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    return app;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(dropQtMessage);
    int appArgc = 1;
    char *appArgv[] = {argv[0], nullptr};
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv, appArgc, appArgv);
    cli::ParserMessages parserMessages;
    QCoreApplication::installTranslator(&parserMessages);

    cli::CommandLine commandLine;
    cli::Request request;
    QString error;
    switch (commandLine.read(arguments(argc, argv), request, error)) {
    case cli::CommandLine::Outcome::Invalid:
        return cli::fail(cli::BadInput, error);
    case cli::CommandLine::Outcome::Help:
        cli::writeOut(commandLine.help());
        return cli::finishOutput();
    case cli::CommandLine::Outcome::Version:
        cli::writeOut(cli::CommandLine::version());
        return cli::finishOutput();
    case cli::CommandLine::Outcome::Run:
        break;
    }
    return request.limits.wantsTable() ? cli::runTable(request) : cli::runCalculation(request);
}
