#include "option_values.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace cli {

bool parseNumber(const QString &text, double &value)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double parsed = c.toDouble(text, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed == 0 ? 0.0 : parsed;
    return true;
}

QString rangeText(const engine::InputRange &range)
{
    // Exact, not rounded to two decimals: a step may start at a millimetre.
    return QStringLiteral("%1 t/m %2")
        .arg(QString::number(range.minimum, 'f', QLocale::FloatingPointShortest),
             QString::number(range.maximum, 'f', QLocale::FloatingPointShortest));
}

int writtenDecimals(const QString &text)
{
    const qsizetype exponentAt = text.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    const QString mantissa = exponentAt < 0 ? text : text.left(exponentAt);
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    long decimals = 0;
    if (point >= 0) {
        for (qsizetype i = point + 1; i < mantissa.size() && mantissa[i].isDigit(); ++i)
            ++decimals;
    }
    if (exponentAt >= 0) {
        bool ok = false;
        const long exponent = text.mid(exponentAt + 1).toLong(&ok);
        if (ok)
            decimals -= std::clamp(exponent, -1000L, 1000L);
    }
    return int(std::clamp(decimals, 0L, 1000L));
}

bool readNumber(const QString &option, const QString &text, const engine::InputRange &range,
                const QString &unit, double &value, QString &error)
{
    const QString allowed = unit.isEmpty() ? rangeText(range) : rangeText(range) + QLatin1Char(' ') + unit;
    double parsed = 0;
    if (!parseNumber(text, parsed)) {
        error =
            QStringLiteral("Ongeldige waarde '%1' voor --%2: verwacht een getal met een decimale punt, %3.")
                .arg(text, option, allowed);
        return false;
    }
    if (!range.contains(parsed)) {
        error = QStringLiteral("Waarde '%1' voor --%2 ligt buiten het bereik %3.").arg(text, option, allowed);
        return false;
    }
    value = parsed;
    return true;
}

} // namespace cli
