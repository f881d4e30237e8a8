#pragma once

#include "system_shell.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

// A shell with a made-up file system and file-type registry: it answers lookups from
// the files and programs a test sets up, and records every lookup, folder change and
// start, so the help's handlers run without a desktop.
class RecordingShell : public platform::SystemShell
{
public:
    struct Lookup
    {
        QString document;
        QString directory;
    };
    struct Start
    {
        QString commandLine;
        int windowStyle = 0;
        QString directory; // the current directory at the moment of the start
    };

    platform::FindExecutableResult FindExecutable(const QString &document, const QString &directory) override
    {
        lookups.append({document, directory});
        platform::FindExecutableResult result;
        if (!files.contains(directory + QLatin1Char('/') + document)) {
            result.code = 2;
            return result;
        }
        const QString program = programs.value(document.section(QLatin1Char('.'), -1).toLower());
        result.code = program.isEmpty() ? 31 : 42;
        result.path = program;
        return result;
    }

    bool Shell(const QString &commandLine, int windowStyle) override
    {
        started.append({commandLine, windowStyle, currentDirectory});
        return startSucceeds;
    }

    QString CurDir() const override { return currentDirectory; }

    bool ChDir(const QString &directory) override
    {
        currentDirectory = directory;
        return true;
    }

    QString AppPath() const override { return programFolder; }

    QSet<QString> files;             // full paths of the documents that exist
    QMap<QString, QString> programs; // file extension -> registered program's path
    QString currentDirectory = QStringLiteral("/home/gebruiker/projecten");
    QString programFolder = QStringLiteral("/opt/warmtegloed/bin");
    bool startSucceeds = true;

    QList<Lookup> lookups;
    QList<Start> started;
};
