#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The Exec line of a freedesktop application registration, taken apart by the desktop
// entry rules for Exec keys, so that exactly the registered program is started with its
// own arguments, without a shell: blanks separate arguments; an argument in double quotes
// keeps its blanks, and inside the quotes a backslash escapes " ` $ and \ (the key file's
// general escapes, \s \n \t \r \\, GIO has undone when it read the value).
//
// GIO's own launcher (g_app_info_launch_uris) is not used for this: it hands a viewer the
// document's full path or URI, never the bare "Hulpschermen.pdf" the help gives it in the
// program's folder; for Terminal=true it guesses a terminal program from a built-in list;
// and a D-Bus activatable viewer would be started by the session bus in a folder of its
// own. Its startup notification needs a display-specific launch context the window does
// not have. The line is taken apart here in some hundred lines and started as it says.
class DesktopExec
{
public:
    // The words of a command line; false, with a reason, for an empty line, an unclosed
    // quote, a stray backslash or a quote in the middle of a word.
    static bool split(const QString &line, QStringList &words, QString *error = nullptr);

    // The program and arguments that open `target` (a file or an address): %f %F %u %U
    // become the target, %% a percent sign; %i %c %k and the deprecated %d %D %n %N %v %m
    // are dropped (an argument of nothing else with them). A registration without a file
    // or address code gets the target as its last argument, as the help needs it opened.
    // False, with a reason, for a line `split` refuses or an unknown field code.
    static bool expand(const QString &line, const QString &target, QStringList &argv,
                       QString *error = nullptr);
};

} // namespace platform
