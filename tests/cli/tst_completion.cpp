// The bash completion of warmtegloed-cli, run by bash itself as the shell would on Tab:
// its options are the program's own (--help), and the values it offers fit the option.

#include "cli_process.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What the completion offers for a command line whose last word is being typed.
QStringList completions(const QStringList &words, const QString &folder)
{
    QString script =
        QStringLiteral("source '%1' && cd '%2' && COMP_WORDS=(").arg(WARMTEGLOED_COMPLETION, folder);
    for (const QString &word : words)
        script += QStringLiteral(" '%1'").arg(word);
    script += QStringLiteral(" ); COMP_CWORD=%1; _warmtegloed_cli; printf '%s\\n' \"${COMPREPLY[@]}\"")
                  .arg(words.size() - 1);
    QProcess bash;
    bash.start("/bin/bash", {"--norc", "--noprofile", "-c", script});
    bash.waitForFinished(30000);
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

// Every option name that --help lists.
QStringList helpOptions()
{
    const CliRun run = runCli({"--help"});
    static const QRegularExpression name("^  (-[^ ,<]+)(?:, (--[^ <]+))?",
                                         QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = name.globalMatch(run.out); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        names << match.captured(1);
        if (!match.captured(2).isEmpty())
            names << match.captured(2);
    }
    names.sort();
    return names;
}

} // namespace

class TestCompletion : public QObject
{
    Q_OBJECT

private slots:
    void optionsAreTheProgramsOwn()
    {
        QTemporaryDir dir;
        const QStringList options = helpOptions();
        QVERIFY(options.contains("--version") && options.contains("-h"));
        QCOMPARE(completions({"warmtegloed-cli", ""}, dir.path()), options);
    }

    void values_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("what to solve")
            << QStringList {"--solve", ""} << QStringList {"distance", "height", "width"};
        QTest::newRow("what to solve, after =") << QStringList {"--solve", "=", "w"} << QStringList {"width"};
        QTest::newRow("a number: nothing to offer") << QStringList {"--limit", ""} << QStringList {};
        QTest::newRow("report: PDF files and folders")
            << QStringList {"--pdf", ""} << QStringList {"grafiek.PDF", "map", "rapport.pdf"};
        QTest::newRow("case file: cases and folders")
            << QStringList {"--case", ""} << QStringList {"map", "zaak.warmtegloed"};
        QTest::newRow("chart: its three types and folders")
            << QStringList {"--x", "5", "--plot", ""}
            << QStringList {"afbeelding.png", "grafiek.PDF", "map", "rapport.pdf", "tekening.svg"};
    }

    void values()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offered);
        QTemporaryDir dir;
        for (const char *name : {"afbeelding.png", "grafiek.PDF", "rapport.pdf", "tekening.svg",
                                 "notities.txt", "zaak.warmtegloed"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(dir.path()).mkdir("map"));
        QCOMPARE(completions(QStringList {"warmtegloed-cli"} + words, dir.path()), offered);
    }
};

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
