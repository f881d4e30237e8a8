#pragma once

#include "command_line.h"

namespace cli {

// One run of the program for a request: the calculation with its report, limit answers
// and chart, or a table. Writes the answer and the files, returns the exit code; on an
// error the one-line complaint is on stderr, nothing on stdout and no file is touched.
int runCalculation(const Request &request);
int runTable(const Request &request);

} // namespace cli
