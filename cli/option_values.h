#pragma once

#include "input_ranges.h"

#include <QString>

namespace cli {

// Reads a number written with a decimal point; rejects group separators, text and
// infinities. A negative zero reads as zero.
bool parseNumber(const QString &text, double &value);

// A range as the help and the messages write it: "0.01 t/m 10000".
QString rangeText(const engine::InputRange &range);

// The number of decimals a number was written with ("2.25" 2, "1e-3" 3, "1e3" 0), so that
// values computed from it can be put back on its decimal grid.
int writtenDecimals(const QString &text);

// Reads `text` as the value of `--option` within `range` (`unit` after the range in the
// message, e.g. "m"). False with one Dutch line naming the option and the range when it
// is not a number or lies outside.
bool readNumber(const QString &option, const QString &text, const engine::InputRange &range,
                const QString &unit, double &value, QString &error);

} // namespace cli
