// The manual page of warmtegloed-cli against the program's own --help: the same options,
// each with the same value name.

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// "--name value" per option ("--B getal", "--json"), sorted; an entry is names starting with
// "--" (", " between them) and then the words of the value.
void addEntry(QStringList &options, QString entry)
{
    entry.replace("\\-", "-").remove(QRegularExpression("[\"<>]"));
    QStringList names;
    QStringList value;
    for (const QString &word : entry.split(' ', Qt::SkipEmptyParts)) {
        if (word.startsWith("--"))
            names << word.chopped(word.endsWith(',') ? 1 : 0);
        else if (word != ",")
            value << word;
    }
    for (const QString &name : names)
        options << (QStringList {name} + value).join(' ');
}

// The options block of --help: "  --name[, --name] [<value>]  description".
QStringList helpOptions()
{
    QProcess cli;
    cli.start(WARMTEGLOED_CLI, {"--help"});
    cli.waitForFinished(30000);
    const QString help = QString::fromUtf8(cli.readAllStandardOutput());
    static const QRegularExpression entry("^  (--\\S.*?)(?:\\s{2,}|$)", QRegularExpression::MultilineOption);
    QStringList options;
    for (auto it = entry.globalMatch(help.section("Opties:\n", 1).section("\n\n", 0, 0)); it.hasNext();)
        addEntry(options, it.next().captured(1));
    options.sort();
    return options;
}

// The tag line after each ".TP" of the OPTIES section, e.g. '.BI \-\-B " getal"'.
QStringList manPageOptions()
{
    QFile file(WARMTEGLOED_CLI_MAN_PAGE);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString section =
        QString::fromUtf8(file.readAll()).section("\n.SH OPTIES\n", 1).section("\n.SH ", 0, 0);
    static const QRegularExpression tag("^\\.TP\\n\\.\\S+ (.*)$", QRegularExpression::MultilineOption);
    QStringList options;
    for (auto it = tag.globalMatch(section); it.hasNext();)
        addEntry(options, it.next().captured(1));
    options.sort();
    return options;
}

} // namespace

class TestManPage : public QObject
{
    Q_OBJECT

private slots:
    void optionsAgree()
    {
        const QStringList help = helpOptions();
        QVERIFY2(help.contains("--help") && help.contains("--pdf bestand"), qPrintable(help.join('\n')));
        QCOMPARE(manPageOptions(), help);
    }
};

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_man_page.moc"
