// The manual page of warmtegloed-cli against the program's own --help: the same options,
// each with the same value name and the same ranges ("0.01 t/m 10000") in its text.

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// Per option: "--name value" ("--B getal", "--json", "-h") and the ranges its text gives.
struct Entries
{
    QStringList options;           // sorted
    QMap<QString, QString> ranges; // option name -> "0.01 t/m 10000; ..."
};

// The ranges a text gives, in order.
QString rangesIn(const QString &text)
{
    static const QRegularExpression range("-?[0-9]+(?:\\.[0-9]+)? t/m -?[0-9]+(?:\\.[0-9]+)?");
    QStringList found;
    for (auto it = range.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    return found.join("; ");
}

// An entry is names starting with "-" (", " between them), then the words of the value.
void addEntry(Entries &entries, QString entry, const QString &text)
{
    entry.replace("\\-", "-").remove(QRegularExpression("[\"<>]"));
    QStringList names;
    QStringList value;
    for (const QString &word : entry.split(' ', Qt::SkipEmptyParts)) {
        if (word.startsWith("-"))
            names << word.chopped(word.endsWith(',') ? 1 : 0);
        else if (word != ",")
            value << word;
    }
    for (const QString &name : names) {
        entries.options << (QStringList {name} + value).join(' ');
        entries.ranges.insert(name, rangesIn(QString(text).replace("\\-", "-")));
    }
}

// The options block of --help: "  --name[, --name] [<value>]  description".
Entries helpEntries()
{
    QProcess cli;
    cli.start(WARMTEGLOED_CLI, {"--help"});
    cli.waitForFinished(30000);
    const QString help = QString::fromUtf8(cli.readAllStandardOutput());
    static const QRegularExpression entry("^  (-\\S.*?)(?:\\s{2,}(.*)|$)",
                                          QRegularExpression::MultilineOption);
    Entries entries;
    for (auto it = entry.globalMatch(help.section("Opties:\n", 1).section("\n\n", 0, 0)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        addEntry(entries, match.captured(1), match.captured(2));
    }
    entries.options.sort();
    return entries;
}

// The tag line after each ".TP" of the OPTIES section, e.g. '.BI \-\-B " getal"', and the
// paragraph below it.
Entries manPageEntries()
{
    QFile file(WARMTEGLOED_CLI_MAN_PAGE);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString section =
        QString::fromUtf8(file.readAll()).section("\n.SH OPTIES\n", 1).section("\n.SH ", 0, 0);
    Entries entries;
    for (const QString &item : section.split(".TP\n", Qt::SkipEmptyParts)) {
        const QString tagLine = item.section('\n', 0, 0);
        if (tagLine.startsWith('.'))
            addEntry(entries, tagLine.section(' ', 1), item.section('\n', 1));
    }
    entries.options.sort();
    return entries;
}

} // namespace

class TestManPage : public QObject
{
    Q_OBJECT

private slots:
    void optionsAgree()
    {
        const Entries help = helpEntries();
        const QStringList expected {"--help", "-h", "--version", "--pdf bestand"};
        for (const QString &option : expected)
            QVERIFY2(help.options.contains(option),
                     qPrintable(option + " not in\n" + help.options.join('\n')));
        QCOMPARE(manPageEntries().options, help.options);
    }

    void rangesAgree()
    {
        const Entries help = helpEntries();
        const Entries manPage = manPageEntries();
        QVERIFY2(help.ranges.value("--B") == "0.01 t/m 10000", qPrintable(help.ranges.value("--B")));
        for (auto it = help.ranges.cbegin(); it != help.ranges.cend(); ++it)
            QCOMPARE(manPage.ranges.value(it.key()), it.value());
    }
};

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_man_page.moc"
