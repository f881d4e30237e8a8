#include "typed_numbers.h"

#include <QRegularExpression>

#include <cmath>

namespace explore {

bool ParseTypedNumber(const QString &typed, const QLocale &locale, double &value)
{
    QString text = typed.trimmed();
    const QString separator = locale.decimalPoint();
    if (separator != QLatin1String("."))
        text.replace(separator, QStringLiteral("."));
    static const QRegularExpression pattern(QStringLiteral("^[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    if (!pattern.match(text).hasMatch())
        return false;
    bool ok = false;
    const double parsed = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

QString ShortestNumber(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value == 0 ? 0.0 : value, 'f', QLocale::FloatingPointShortest);
}

} // namespace explore
