#pragma once

#include "system_shell.h"

#include <QStringList>

namespace platform {

// The shell on a freedesktop system: GIO's default applications stand in for the
// registered document programs, QProcess starts programs detached.
class LinuxShell : public SystemShell
{
public:
    FindExecutableResult FindExecutable(const QString &document, const QString &directory) override;
    bool Shell(const QString &commandLine, int windowStyle) override;
    bool ShellRegistered(const FindExecutableResult &program, const QString &argument,
                         int windowStyle) override;
    QString CurDir() const override;
    bool ChDir(const QString &directory) override;
    QString AppPath() const override;

    // A command line as program and arguments, quoted as an Exec line is (a path with
    // blanks in double quotes); the program as an exact path, a bare name looked up on
    // the PATH. Empty when the line is not valid or its program is not an executable.
    static QStringList splitCommandLine(const QString &commandLine);
};

} // namespace platform
