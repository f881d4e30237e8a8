#include "help_shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace explore {
namespace {

const QString kHelpDocument = QStringLiteral("Hulpschermen.pdf");

} // namespace

HelpShell::HelpShell(platform::SystemShell &desktop, const QString &folder)
    : m_desktop(desktop)
    , m_folder(folder)
{ }

platform::FindExecutableResult HelpShell::FindExecutable(const QString &document, const QString &directory)
{
    return m_desktop.FindExecutable(document, directory);
}

bool HelpShell::Shell(const QString &commandLine, int windowStyle)
{
    return m_desktop.Shell(commandLine, windowStyle);
}

bool HelpShell::ShellRegistered(const platform::FindExecutableResult &program, const QString &argument,
                                int windowStyle)
{
    return m_desktop.ShellRegistered(program, argument, windowStyle);
}

QString HelpShell::CurDir() const
{
    return m_folder.isEmpty() ? m_desktop.CurDir() : m_folder;
}

bool HelpShell::ChDir(const QString &directory)
{
    return m_desktop.ChDir(directory);
}

QString HelpShell::AppPath() const
{
    return m_folder.isEmpty() ? m_desktop.AppPath() : m_folder;
}

QString HelpShell::findHelpFolder()
{
    QStringList folders {QDir::currentPath(), QCoreApplication::applicationDirPath()};
    const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                     QStringLiteral("warmtegloed/") + kHelpDocument);
    if (!installed.isEmpty())
        folders << QFileInfo(installed).absolutePath();
    for (const QString &folder : folders) {
        if (QFileInfo(QDir(folder).filePath(kHelpDocument)).isFile())
            return folder;
    }
    return {};
}

} // namespace explore
