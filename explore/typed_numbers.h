#pragma once

#include <QLocale>
#include <QString>

namespace explore {

// Numbers as the user types them and as the window writes them back.

// Reads a typed number as the classic window does: digits, a leading sign and one decimal
// separator, the locale's or a point (`12,5` and `12.5` alike); no group separators.
bool ParseTypedNumber(const QString &typed, const QLocale &locale, double &value);

// The shortest text in `locale` that reads back as exactly `value`: fixed notation, no
// group separators, and 0 for a negative zero.
QString ShortestNumber(double value, const QLocale &locale);

} // namespace explore
