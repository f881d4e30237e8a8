#pragma once

#include <QString>

namespace platform {

// Why a system call failed, in Dutch, for the messages of the programs (which otherwise
// would quote the C library's English "No such file or directory"): one place for every
// error number the file writers meet, and a neutral text with the number for the rest.
QString systemErrorText(int error);

} // namespace platform
