#pragma once

#include <string>

namespace platform::gio {

// The program the desktop registers for a document, found through GIO's
// default-application table. Kept free of Qt types: GIO's headers clash with Qt's
// "signals" macro, so this seam is compiled in a translation unit of its own.
struct DefaultApplication
{
    int code = 2;            // 32 or more when found; 2 no such file, 31 nothing registered
    std::string executable;  // full path of the program when found
    std::string commandLine; // the registration's Exec line, field codes and all
};

// Looks at the file `directory`/`document`: when it exists, its type is guessed from
// its name and the default application for that type is resolved to a full path.
DefaultApplication findDefaultApplication(const std::string &document, const std::string &directory);

} // namespace platform::gio
