#pragma once

#include <QString>

namespace platform {
class MessageBox;
class SystemShell;
} // namespace platform

namespace help {

// The folder the package installs the help document in.
QString installedHelpFolder();

// Where another window of the program takes the help document from: the program's own
// folder when the document lies there (the build tree), else the installed help folder;
// never the current folder, which is the user's. Empty when neither holds it.
QString helpFolder(platform::SystemShell &shell, const QString &installed = installedHelpFolder());

// "Help" for a window other than the classic one: the classic command, run as if the
// program lay in the help folder: the document is looked up there and the viewer started
// there with its bare name, and the offer to install a reader looks for "dummy.html" there.
// The current folder is the caller's again afterwards.
void openHelp(platform::SystemShell &shell, platform::MessageBox &messageBox,
              const QString &installed = installedHelpFolder());

} // namespace help
