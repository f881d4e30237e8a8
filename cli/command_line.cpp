#include "command_line.h"

#include "site_run.h"

#include <cstring>

#ifndef WARMTEGLOED_VERSION
#define WARMTEGLOED_VERSION "onbekend"
#endif

namespace cli {
namespace {

const char kProgram[] = "warmtegloed-cli";

} // namespace

CommandLine::CommandLine()
    : m_json(QStringLiteral("json"),
             QStringLiteral("Schrijft de rekentoestand, de niveaus in W/m² en de teksten als JSON."))
    , m_pdf(QStringLiteral("pdf"),
            QStringLiteral("Schrijft ook het rapport van de knop \"Print\" naar dit PDF-bestand."),
            QStringLiteral("bestand"))
    , m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Toont deze hulp."))
    , m_version(QStringLiteral("version"), QStringLiteral("Toont de versie van het programma."))
{
    // "-hs 4" is the option hs, not -h followed by -s.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_calculation.addTo(m_parser);
    m_limits.addTo(m_parser);
    m_cases.addTo(m_parser);
    for (const QCommandLineOption *option : {&m_json, &m_pdf, &m_help, &m_version})
        m_parser.addOption(*option);
}

CommandLine::Outcome CommandLine::read(const QStringList &arguments, Request &request, QString &error)
{
    if (!m_parser.parse(arguments)) {
        error = m_parser.errorText();
        return Outcome::Invalid;
    }
    if (m_parser.isSet(m_help))
        return Outcome::Help;
    if (m_parser.isSet(m_version))
        return Outcome::Version;
    if (!m_parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Onverwacht argument '%1'; opties beginnen met --.")
                    .arg(m_parser.positionalArguments().constFirst());
        return Outcome::Invalid;
    }
    // A case file's values first, the command line's over them.
    if (!m_cases.read(m_parser, request.cases, error))
        return Outcome::Invalid;
    if (m_parser.isSet(QStringLiteral("save-case")) && request.cases.savePath.isEmpty()) {
        error = QStringLiteral("--save-case verwacht de naam van een bestand.");
        return Outcome::Invalid;
    }
    request.cases.fillInput(request.input);
    if (!m_calculation.read(m_parser, request.input, error)
        || !m_limits.read(m_parser, request.limits, error, request.cases.hasSite()))
        return Outcome::Invalid;
    request.cases.fillRequest(m_parser, request.input, request.limits);
    if (request.cases.hasSite() && !siteGridAllowed(request.cases.value.site, request.limits, error))
        return Outcome::Invalid;
    request.json = m_parser.isSet(m_json);
    if (m_parser.isSet(m_pdf)) {
        request.pdfFile = m_parser.value(m_pdf);
        if (request.pdfFile.isEmpty()) {
            error = QStringLiteral("--pdf verwacht de naam van een bestand.");
            return Outcome::Invalid;
        }
    }
    return checkCombination(request, error) ? Outcome::Run : Outcome::Invalid;
}

bool CommandLine::checkCombination(const Request &request, QString &error) const
{
    const LimitRequest &limits = request.limits;
    if (limits.wantsTable()) {
        // A table is the whole answer; what else was asked would silently be dropped. A
        // site's grid and contours take its limit and envelope from the command line.
        const QString table = limits.sweep ? QStringLiteral("--sweep") : QStringLiteral("--grid");
        const bool site = request.cases.hasSite();
        for (const char *other : {"json", "pdf", "plot", "check", "limit", "solve", "envelope"}) {
            const bool forTheSite =
                site && (std::strcmp(other, "limit") == 0 || std::strcmp(other, "envelope") == 0);
            if (!forTheSite && m_parser.isSet(QString::fromLatin1(other))) {
                error = QStringLiteral("%1 schrijft alleen een tabel; --%2 gaat er niet mee samen.")
                            .arg(table, QString::fromLatin1(other));
                return false;
            }
        }
        if (limits.tableMovesPoint())
            return true;
    }
    if (pointBeforeScreen(request.input)) {
        error = pointBeforeScreenMessage(request.input);
        return false;
    }
    return true;
}

QString CommandLine::help() const
{
    return helpText(QString::fromLatin1(kProgram),
                    m_calculation.options() + m_limits.options() + m_cases.options()
                        + QList {m_json, m_pdf, m_help, m_version});
}

QString CommandLine::version()
{
    return QStringLiteral("%1 (Warmtegloedvracht) %2\n")
        .arg(QString::fromLatin1(kProgram), QStringLiteral(WARMTEGLOED_VERSION));
}

bool wantsPdf(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        for (const char *form : {"--pdf", "-pdf"}) {
            const std::size_t n = std::strlen(form);
            if (std::strncmp(arg, form, n) == 0 && (arg[n] == '\0' || arg[n] == '='))
                return true;
        }
    }
    return false;
}

} // namespace cli
