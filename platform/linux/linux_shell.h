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
    QString CurDir() const override;
    bool ChDir(const QString &directory) override;
    QString AppPath() const override;

    // An unquoted command line as program and arguments: the program is the shortest
    // run of space-separated words that names an executable file, so a path with
    // blanks still works; the rest of the line is its one argument. Empty when no
    // prefix names a program.
    static QStringList splitCommandLine(const QString &commandLine);
};

} // namespace platform
