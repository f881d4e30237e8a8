// warmtegloed-cli: the calculation of the "Bereken" button without a window, for batch
// use and for checking figures.

#include "case_options.h"
#include "cli_options.h"
#include "limit_options.h"
#include "limit_run.h"
#include "parser_messages.h"
#include "report_pdf.h"
#include "result_output.h"
#include "site_run.h"
#include "terminal_text.h"

#include "calculate.h"
#include "calculation_state.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QJsonDocument>

#include <cstdio>
#include <memory>

namespace {

enum ExitCode { Success = 0, Undefined = 1, BadInput = 2, NoReport = 3 };

void write(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

int badInputOr(ExitCode code, const QString &message)
{
    write(stderr, QStringLiteral("warmtegloed-cli: %1\n").arg(cli::escapedForTerminal(message)));
    return code;
}

int badInput(const QString &message)
{
    return badInputOr(BadInput, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // Only the report needs fonts and painting; without a display it draws offscreen.
    std::unique_ptr<QCoreApplication> app;
    if (cli::wantsPdf(argc, argv) || cli::wantsPlot(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("warmtegloed-cli"));
    cli::ParserMessages parserMessages;
    QCoreApplication::installTranslator(&parserMessages);

    QCommandLineParser parser;
    // "-hs 4" is the option hs, not -h followed by -s.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const cli::CalculationOptions calculationOptions;
    calculationOptions.addTo(parser);
    const cli::LimitOptions limitOptions;
    limitOptions.addTo(parser);
    const cli::CaseOptions caseOptions;
    caseOptions.addTo(parser);
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Schrijft de rekentoestand, de niveaus in W/m² en de teksten als JSON."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Toont deze hulp."));
    const QCommandLineOption pdfOption(
        QStringLiteral("pdf"),
        QStringLiteral("Schrijft ook het rapport van de knop \"Print\" naar dit PDF-bestand."),
        QStringLiteral("bestand"));
    parser.addOption(jsonOption);
    parser.addOption(pdfOption);
    parser.addOption(helpOption);

    if (!parser.parse(QCoreApplication::arguments()))
        return badInput(parser.errorText());
    if (parser.isSet(helpOption)) {
        write(stdout,
              cli::helpText(QCoreApplication::applicationName(),
                            calculationOptions.options() + limitOptions.options() + caseOptions.options()
                                + QList {jsonOption, pdfOption, helpOption}));
        return Success;
    }

    engine::CalculationInput input;
    QString error;
    cli::CaseRequest cases;
    if (!caseOptions.read(parser, cases, error))
        return badInput(error);
    cases.fillInput(input);
    if (!calculationOptions.read(parser, input, error))
        return badInput(error);
    if (!parser.positionalArguments().isEmpty())
        return badInput(QStringLiteral("Onverwacht argument '%1'; opties beginnen met --.")
                            .arg(parser.positionalArguments().constFirst()));
    cli::LimitRequest request;
    if (!limitOptions.read(parser, request, error))
        return badInput(error);
    cases.fillRequest(parser, input, request);
    if (cases.hasSite() && !cli::siteGridAllowed(cases.value.site, request, error))
        return badInput(error);
    if (!cli::saveCase(cases, input, request, error))
        return badInputOr(NoReport, error);
    if (cases.hasSite() && !cases.contoursPath.isEmpty()) {
        const cli::ContourFailure failure = cli::writeContours(cases.value.site, cases, request, error);
        if (failure != cli::ContourFailure::None)
            return failure == cli::ContourFailure::NoFile ? badInputOr(NoReport, error)
                                                          : badInputOr(Undefined, error);
    }
    if (request.sweep || request.grid) {
        QString csv;
        const bool made = request.grid && cases.hasSite()
            ? cli::siteGridCsv(cases.value.site, request, csv, error)
            : cli::tableCsv(input, request, csv, error);
        if (!made) {
            write(stderr, error + QLatin1Char('\n'));
            return Undefined;
        }
        write(stdout, csv);
        return Success;
    }

    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state, '.');
    if (!result.ok()) {
        // The window's explanation breaks its line for the box; here it stays one line.
        const QString message =
            QString::fromStdString(result.message).replace(QLatin1Char('\n'), QLatin1Char(' '));
        write(stderr, cli::escapedForTerminal(message) + QLatin1Char('\n'));
        return Undefined;
    }

    QString reportError;
    if (parser.isSet(pdfOption)
        && !cli::writeReportPdf(parser.value(pdfOption), input, state, result, &reportError))
        return badInputOr(NoReport, QStringLiteral("Geen rapport: %1").arg(reportError));

    cli::LimitAnswers answers;
    switch (cli::answerLimits(input, request, answers, error)) {
    case cli::LimitFailure::Undefined:
        write(stderr, error + QLatin1Char('\n'));
        return Undefined;
    case cli::LimitFailure::NoFile:
        return badInputOr(NoReport, error);
    case cli::LimitFailure::None:
        break;
    }

    cli::SiteAnswers site;
    if (cases.hasSite() && !cli::answerSite(cases.value.site, site, error))
        return badInputOr(Undefined, error);

    if (parser.isSet(jsonOption)) {
        QJsonObject object = cli::resultJson(state, result);
        answers.addTo(object);
        if (cases.hasSite())
            object.insert(QStringLiteral("site"), site.json());
        write(stdout, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
    } else {
        write(stdout,
              cli::plainResult(input, result) + answers.plain(request.envelope)
                  + (cases.hasSite() ? site.plain() : QString()));
    }
    return Success;
}
