#pragma once

#include <QString>

namespace platform {

// Outcome of looking up the program registered for a document: a code of 32 or more
// and the program's full path when found; below 32 (2: no such file, 31: no program
// registered for the type) when not.
struct FindExecutableResult
{
    int code = 2;
    QString path;
    QString exec; // the registration's command line (freedesktop Exec), when the shell knows it
};

enum ShellWindowStyle : int { vbMaximizedFocus = 3 };

// The shell seam the help relies on: which program opens a document, starting a
// program from a command line, and the current and program folders.
class SystemShell
{
public:
    virtual ~SystemShell() = default;
    virtual FindExecutableResult FindExecutable(const QString &document, const QString &directory) = 0;
    // Starts the program at the head of the unquoted command line with the rest as its
    // argument, detached, in the current directory; false when it could not start.
    virtual bool Shell(const QString &commandLine, int windowStyle) = 0;
    // Starts the program that FindExecutable found, as it is registered, with `argument`
    // (the document or an address). A shell that knows no more than the path starts the
    // command line of the path, one blank and the argument.
    virtual bool ShellRegistered(const FindExecutableResult &program, const QString &argument,
                                 int windowStyle)
    {
        return Shell(program.path + QLatin1Char(' ') + argument, windowStyle);
    }
    virtual QString CurDir() const = 0;
    virtual bool ChDir(const QString &directory) = 0;
    virtual QString AppPath() const = 0;
};

} // namespace platform
