#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What a program (pdfinfo, pdftotext and the like) writes to its standard output; empty when
// it could not run, took longer than `milliseconds` or ended with an error.
inline QString ProgramOutput(const QString &program, const QStringList &arguments, int milliseconds = 60000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(milliseconds) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}
