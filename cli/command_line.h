#pragma once

#include "calculate.h"
#include "case_options.h"
#include "cli_options.h"
#include "limit_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace cli {

// Everything the command line asks for one run.
struct Request
{
    engine::CalculationInput input;
    LimitRequest limits;
    CaseRequest cases;
    bool json = false;
    QString pdfFile;
};

// The program's options on one parser, and the rules for how they go together.
class CommandLine
{
public:
    enum class Outcome { Run, Help, Version, Invalid };

    CommandLine();

    // Reads the arguments (the program's name first). Invalid leaves one Dutch line
    // naming the option in `error`.
    Outcome read(const QStringList &arguments, Request &request, QString &error);

    QString help() const;
    static QString version();

private:
    bool checkCombination(const Request &request, QString &error) const;

    QCommandLineParser m_parser;
    CalculationOptions m_calculation;
    LimitOptions m_limits;
    CaseOptions m_cases;
    QCommandLineOption m_json;
    QCommandLineOption m_pdf;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};

// Whether the command line asks for a PDF, read before the application exists:
// drawing the page needs a GUI application, a plain calculation does not.
bool wantsPdf(int argc, char *argv[]);

} // namespace cli
