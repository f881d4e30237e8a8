#include "program_output.h"

#include "system_error_text.h"
#include "terminal_text.h"

#include <cerrno>
#include <cstdio>

namespace cli {
namespace {

int g_outputError = 0;

} // namespace

int fail(ExitCode code, const QString &message)
{
    const QByteArray line = QStringLiteral("warmtegloed-cli: %1\n").arg(escapedForTerminal(message)).toUtf8();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    std::fflush(stderr);
    return code;
}

QString oneLine(const std::string &message)
{
    return QString::fromStdString(message).simplified();
}

void writeOut(const char *data, std::size_t size)
{
    if (size > 0 && std::fwrite(data, 1, size, stdout) != size && g_outputError == 0)
        g_outputError = errno ? errno : EIO;
}

void writeOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    writeOut(bytes.constData(), std::size_t(bytes.size()));
}

int finishOutput()
{
    if (std::fflush(stdout) != 0 && g_outputError == 0)
        g_outputError = errno ? errno : EIO;
    if (g_outputError == 0)
        return Success;
    return fail(NoFile,
                QStringLiteral("De uitvoer kon niet worden geschreven: %1.")
                    .arg(platform::systemErrorText(g_outputError)));
}

} // namespace cli
