#pragma once

// warmtegloed-cli as a separate process, the way a user or a script runs it.

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliRun
{
    int exit = -1;        // -1: killed by a signal or still running at the time-out
    bool crashed = false; // ended by a signal
    QString out;
    QString err;
    qint64 milliseconds = 0;
};

inline CliRun runCli(const QStringList &arguments,
                     const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                     int timeoutMilliseconds = 300000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(WARMTEGLOED_CLI, arguments);
    process.closeWriteChannel();
    CliRun run;
    const bool finished = process.waitForFinished(timeoutMilliseconds);
    run.milliseconds = clock.elapsed();
    if (!finished) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::CrashExit) {
        run.crashed = true;
    } else {
        run.exit = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// As cron runs a program: no runtime folder, no display, no locale, a bare PATH. The
// sanitizers' settings of a checked build stay, they belong to the test run.
inline QProcessEnvironment bareEnvironment()
{
    const QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment bare;
    bare.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    for (const QString &name : all.keys()) {
        if (name.endsWith(QLatin1String("SAN_OPTIONS")))
            bare.insert(name, all.value(name));
    }
    return bare;
}

// The calculator's complaint: one line, the program's name first.
inline bool isOneComplaint(const QString &err)
{
    return err.startsWith(QLatin1String("warmtegloed-cli: ")) && err.endsWith(QLatin1Char('\n'))
        && err.count(QLatin1Char('\n')) == 1;
}
