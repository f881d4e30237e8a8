#include "terminal_text.h"

namespace cli {

QString escapedForTerminal(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\n':
            escaped += QStringLiteral("\\n");
            continue;
        case u'\r':
            escaped += QStringLiteral("\\r");
            continue;
        case u'\t':
            escaped += QStringLiteral("\\t");
            continue;
        default:
            break;
        }
        // C0, DEL and C1 controls, and the Unicode line and paragraph separators.
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            escaped += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else if (u == 0x2028 || u == 0x2029)
            escaped += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

} // namespace cli
