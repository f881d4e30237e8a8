#pragma once

#include <QString>

namespace cli {

// A message as one line that is safe to put on a terminal: line breaks, escape
// sequences and other control characters of the values it quotes are written as
// C-style escapes ("\n", "\x1b") instead of being sent raw.
QString escapedForTerminal(const QString &text);

} // namespace cli
