#pragma once

#include "system_shell.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// A shell with a made-up file system and file-type registry that logs every lookup and
// start, so the help's handlers run without a desktop.
class RecordingShell : public platform::SystemShell
{
public:
    platform::FindExecutableResult FindExecutable(const QString &document, const QString &directory) override
    {
        log << QStringLiteral("find %1 in %2").arg(document, directory);
        if (!files.contains(directory + QLatin1Char('/') + document))
            return {2, {}, {}};
        const QString program = programs.value(document.section(QLatin1Char('.'), -1));
        return {program.isEmpty() ? 31 : 42, program, {}};
    }

    bool Shell(const QString &commandLine, int windowStyle) override
    {
        log << QStringLiteral("start(%1) %2 in %3")
                   .arg(QString::number(windowStyle), commandLine, currentDirectory);
        return startSucceeds;
    }

    QString CurDir() const override { return currentDirectory; }
    bool ChDir(const QString &directory) override
    {
        currentDirectory = directory;
        return true;
    }
    QString AppPath() const override { return QStringLiteral("/programma"); }

    QSet<QString> files;             // full paths of the documents that exist
    QMap<QString, QString> programs; // file extension -> registered program
    QString currentDirectory = QStringLiteral("/thuis");
    bool startSucceeds = true;
    QStringList log;
};
