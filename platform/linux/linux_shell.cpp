#include "linux_shell.h"

#include "desktop_exec.h"
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

// A bare name is looked up on the PATH, like a program typed at a prompt; a path must
// be absolute, so that where the program is started does not change what starts.
QString resolveProgram(const QString &candidate)
{
    if (candidate.contains(QLatin1Char('/')))
        return QDir::isAbsolutePath(candidate) && isProgram(candidate) ? candidate : QString();
    return QStandardPaths::findExecutable(candidate);
}

bool startDetached(QStringList argv)
{
    if (argv.isEmpty())
        return false;
    const QString program = resolveProgram(argv.takeFirst());
    return !program.isEmpty() && QProcess::startDetached(program, argv, QDir::currentPath());
}

} // namespace

FindExecutableResult LinuxShell::FindExecutable(const QString &document, const QString &directory)
{
    const gio::DefaultApplication app = gio::findDefaultApplication(
        QFile::encodeName(document).toStdString(), QFile::encodeName(directory).toStdString());
    FindExecutableResult result;
    result.code = app.code;
    result.path = QFile::decodeName(QByteArray::fromStdString(app.executable));
    result.exec = QString::fromStdString(app.commandLine);
    return result;
}

QStringList LinuxShell::splitCommandLine(const QString &commandLine)
{
    QStringList words;
    if (!DesktopExec::split(commandLine, words))
        return {};
    words.first() = resolveProgram(words.constFirst());
    return words.constFirst().isEmpty() ? QStringList() : words;
}

// The window style asks for a maximised window; on X11 and Wayland that is the
// started program's and the window manager's choice, so it is not passed on.
bool LinuxShell::Shell(const QString &commandLine, int /*windowStyle*/)
{
    return startDetached(splitCommandLine(commandLine));
}

bool LinuxShell::ShellRegistered(const FindExecutableResult &program, const QString &argument,
                                 int /*windowStyle*/)
{
    if (program.exec.isEmpty())
        return startDetached({program.path, argument});
    QStringList argv;
    return DesktopExec::expand(program.exec, argument, argv) && startDetached(argv);
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
