#pragma once

#include "system_shell.h"

namespace explore {

// The desktop's shell as the help command of this window sees it: the help document is
// looked up in the folder where it lies (`folder`: the current folder, the program's
// folder or the installed data folder, whichever holds it), and the viewer is started
// there with its bare name. Everything else is the desktop's shell.
class HelpShell : public platform::SystemShell
{
public:
    HelpShell(platform::SystemShell &desktop, const QString &folder);

    platform::FindExecutableResult FindExecutable(const QString &document, const QString &directory) override;
    bool Shell(const QString &commandLine, int windowStyle) override;
    bool ShellRegistered(const platform::FindExecutableResult &program, const QString &argument,
                         int windowStyle) override;
    QString CurDir() const override;
    bool ChDir(const QString &directory) override;
    QString AppPath() const override;

    // The first folder that holds the help document, or an empty string.
    static QString findHelpFolder();

private:
    platform::SystemShell &m_desktop;
    QString m_folder;
};

} // namespace explore
