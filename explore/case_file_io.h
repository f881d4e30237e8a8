#pragma once

#include "case_file.h"

#include <QString>

#include <string>

namespace explore {

// A case file read from the disk: false and, in `error`, one Dutch line that names the
// file and says why it cannot be used (it does not exist, is a folder, cannot be read, or
// the case module refuses its contents); `value` is then untouched.
bool ReadCaseFile(const QString &path, casefile::Case &value, QString *error);

// Writes a case's text through SafeFile, after checking that it reads back as a case, so
// that a file this window wrote always opens again. False and a Dutch line naming the
// file when nothing was written.
bool WriteCaseFile(const QString &path, const std::string &text, QString *error);

} // namespace explore
