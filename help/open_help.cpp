#include "open_help.h"

#include "help_command.h"
#include "system_shell.h"

namespace help {

namespace {

const QString kHelpDocument = QStringLiteral("Hulpschermen.pdf");
constexpr int kNoSuchFile = 2;

// The desktop's shell with the help folder standing in for both the current folder and the
// program's folder.
class FolderShell : public platform::SystemShell
{
public:
    FolderShell(platform::SystemShell &desktop, const QString &folder)
        : m_desktop(desktop)
        , m_folder(folder)
    { }

    platform::FindExecutableResult FindExecutable(const QString &document, const QString &directory) override
    {
        return m_desktop.FindExecutable(document, directory);
    }
    bool Shell(const QString &commandLine, int windowStyle) override
    {
        return m_desktop.Shell(commandLine, windowStyle);
    }
    bool ShellRegistered(const platform::FindExecutableResult &program, const QString &argument,
                         int windowStyle) override
    {
        return m_desktop.ShellRegistered(program, argument, windowStyle);
    }
    QString CurDir() const override { return m_folder; }
    bool ChDir(const QString &directory) override { return m_desktop.ChDir(directory); }
    QString AppPath() const override { return m_folder; }

private:
    platform::SystemShell &m_desktop;
    QString m_folder;
};

bool holdsDocument(platform::SystemShell &shell, const QString &folder)
{
    return !folder.isEmpty() && shell.FindExecutable(kHelpDocument, folder).code != kNoSuchFile;
}

} // namespace

QString installedHelpFolder()
{
    return QStringLiteral(WARMTEGLOED_INSTALLED_HELP_DIR);
}

QString helpFolder(platform::SystemShell &shell, const QString &installed)
{
    for (const QString &folder : {shell.AppPath(), installed}) {
        if (holdsDocument(shell, folder))
            return folder;
    }
    return {};
}

void openHelp(platform::SystemShell &shell, platform::MessageBox &messageBox, const QString &installed)
{
    const QString folder = helpFolder(shell, installed);
    const QString before = shell.CurDir();
    FolderShell inFolder(shell, folder.isEmpty() ? shell.AppPath() : folder);
    HelpCommand(inFolder, messageBox).Command3_Click();
    shell.ChDir(before);
}

} // namespace help
