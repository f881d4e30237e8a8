#pragma once

#include <QString>

#include <string>

namespace cli {

enum ExitCode { Success = 0, Undefined = 1, BadInput = 2, NoFile = 3 };

// The program's complaint on stderr, whatever the exit code: "warmtegloed-cli: " and the
// Dutch text on one line, control characters of quoted values escaped. Returns `code`.
int fail(ExitCode code, const QString &message);

// An engine's explanation as one line: the window breaks its line for the message box,
// here the parts are joined by a blank.
QString oneLine(const std::string &message);

// Writes the program's answer to stdout. A failure is remembered for finishOutput.
void writeOut(const QString &text);
void writeOut(const char *data, std::size_t size);

// Flushes stdout: Success, or the complaint (exit 3) when the answer could not be
// written (a full disk, a closed pipe).
int finishOutput();

} // namespace cli
