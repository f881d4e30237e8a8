#include "desktop_exec.h"

#include <cstring>

namespace platform {
namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

bool DesktopExec::split(const QString &line, QStringList &words, QString *error)
{
    words.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i == n)
            break;
        QString word;
        if (line[i] == QLatin1Char('"')) {
            ++i;
            while (true) {
                if (i == n)
                    return fail(error, QStringLiteral("aanhalingsteken niet gesloten"));
                const QChar c = line[i++];
                if (c == QLatin1Char('"'))
                    break;
                if (c == QLatin1Char('\\')) {
                    if (i == n || !QStringLiteral("\"`$\\").contains(line[i]))
                        return fail(error, QStringLiteral("ongeldige escape tussen aanhalingstekens"));
                    word += line[i++];
                    continue;
                }
                word += c;
            }
            if (i < n && !isBlank(line[i]))
                return fail(error, QStringLiteral("aanhalingsteken midden in een argument"));
        } else {
            while (i < n && !isBlank(line[i])) {
                const QChar c = line[i++];
                if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
                    return fail(error, QStringLiteral("'%1' buiten aanhalingstekens").arg(c));
                if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                    return fail(error, QStringLiteral("regeleinde in de opdrachtregel"));
                word += c;
            }
        }
        words.append(word);
    }
    if (words.isEmpty() || words.constFirst().isEmpty())
        return fail(error, QStringLiteral("geen programma"));
    return true;
}

bool DesktopExec::expand(const QString &line, const QString &target, QStringList &argv, QString *error)
{
    QStringList words;
    if (!split(line, words, error))
        return false;
    argv.clear();
    bool targetPlaced = false;
    for (const QString &word : std::as_const(words)) {
        QString expanded;
        bool dropped = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != QLatin1Char('%')) {
                expanded += word[i];
                continue;
            }
            if (++i == word.size())
                return fail(error, QStringLiteral("veldcode zonder letter"));
            const char code = word[i].toLatin1();
            if (code == '%') {
                expanded += QLatin1Char('%');
            } else if (code && std::strchr("fFuU", code)) {
                expanded += target;
                targetPlaced = true;
            } else if (code && std::strchr("ickdDnNvm", code)) {
                dropped = true;
            } else {
                return fail(error, QStringLiteral("onbekende veldcode %%%1").arg(word[i]));
            }
        }
        if (dropped && expanded.isEmpty())
            continue;
        argv.append(expanded);
    }
    if (argv.isEmpty() || argv.constFirst().isEmpty())
        return fail(error, QStringLiteral("geen programma"));
    if (!targetPlaced)
        argv.append(target);
    return true;
}

} // namespace platform
