#include "linux_shell.h"

#include "gio_default_application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

namespace {

bool isProgram(const QString &candidate)
{
    const QFileInfo info(candidate);
    return info.isFile() && info.isExecutable();
}

// A bare name is looked up on the PATH, like a program typed at a prompt.
QString resolveProgram(const QString &candidate)
{
    if (candidate.contains(QLatin1Char('/')))
        return isProgram(candidate) ? candidate : QString();
    return QStandardPaths::findExecutable(candidate);
}

} // namespace

FindExecutableResult LinuxShell::FindExecutable(const QString &document, const QString &directory)
{
    const gio::DefaultApplication app = gio::findDefaultApplication(
        QFile::encodeName(document).toStdString(), QFile::encodeName(directory).toStdString());
    FindExecutableResult result;
    result.code = app.code;
    result.path = QFile::decodeName(QByteArray::fromStdString(app.executable));
    return result;
}

QStringList LinuxShell::splitCommandLine(const QString &commandLine)
{
    qsizetype end = -1;
    do {
        end = commandLine.indexOf(QLatin1Char(' '), end + 1);
        const QString head = end < 0 ? commandLine : commandLine.left(end);
        if (head.isEmpty())
            continue;
        const QString program = resolveProgram(head);
        if (program.isEmpty())
            continue;
        QStringList parts {program};
        const QString rest = end < 0 ? QString() : commandLine.mid(end + 1);
        if (!rest.isEmpty())
            parts.append(rest);
        return parts;
    } while (end >= 0);
    return {};
}

// The window style asks for a maximised window; on X11 and Wayland that is the
// started program's and the window manager's choice, so it is not passed on.
bool LinuxShell::Shell(const QString &commandLine, int /*windowStyle*/)
{
    QStringList parts = splitCommandLine(commandLine);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts, QDir::currentPath());
}

QString LinuxShell::CurDir() const
{
    return QDir::currentPath();
}

bool LinuxShell::ChDir(const QString &directory)
{
    return QDir::setCurrent(directory);
}

QString LinuxShell::AppPath() const
{
    return QCoreApplication::applicationDirPath();
}

} // namespace platform
