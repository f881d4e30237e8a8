// The manual page of warmtegloed-cli against the program's own --help: every option
// the program offers has an entry in the page, the page describes no option the program
// lacks, and both name the same value for it.

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

namespace {

// An option's value name per option name ("--B" -> "getal", "--json" -> "").
using OptionList = QMap<QString, QString>;

// The options block of --help: "  --name[, --name] [<value>]  description".
OptionList helpOptions(const QString &help)
{
    static const QRegularExpression entry(QStringLiteral("^  (--\\S.*?)(?:\\s{2,}|$)"));
    static const QRegularExpression value(QStringLiteral("\\s<([^>]*)>$"));
    OptionList options;
    const QStringList lines = help.split(QLatin1Char('\n'));
    const qsizetype start = lines.indexOf(QStringLiteral("Opties:"));
    for (qsizetype i = start + 1; start >= 0 && i < lines.size() && !lines[i].isEmpty(); ++i) {
        const QRegularExpressionMatch match = entry.match(lines[i]);
        if (!match.hasMatch())
            continue;
        QString names = match.captured(1);
        QString valueName;
        const QRegularExpressionMatch valueMatch = value.match(names);
        if (valueMatch.hasMatch()) {
            valueName = valueMatch.captured(1);
            names.truncate(valueMatch.capturedStart());
        }
        for (const QString &name : names.split(QStringLiteral(", ")))
            options.insert(name.trimmed(), valueName);
    }
    return options;
}

// The arguments of a roff request line, with "quoted" arguments kept whole.
QStringList roffArguments(const QString &line)
{
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool started = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (started)
                arguments.append(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        arguments.append(current);
    return arguments;
}

// The tag lines of the OPTIES section: ".TP" then e.g. '.BI \-\-B " getal"'.
OptionList manPageOptions(const QString &page)
{
    OptionList options;
    const QStringList lines = page.split(QLatin1Char('\n'));
    bool inOptions = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1String(".SH")))
            inOptions = lines[i].trimmed() == QLatin1String(".SH OPTIES");
        if (!inOptions || lines[i].trimmed() != QLatin1String(".TP") || i + 1 >= lines.size())
            continue;
        QString tag = lines[i + 1];
        tag.replace(QLatin1String("\\-"), QLatin1String("-"));
        QStringList arguments = roffArguments(tag);
        if (!arguments.isEmpty() && arguments.constFirst().startsWith(QLatin1Char('.')))
            arguments.removeFirst();
        QStringList names;
        QStringList valueWords;
        for (const QString &argument : std::as_const(arguments)) {
            // Names are separated by ", "; a value such as "z1,z2" keeps its commas.
            for (const QString &word : argument.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                if (word.startsWith(QLatin1String("--")))
                    names.append(word.chopped(word.endsWith(QLatin1Char(',')) ? 1 : 0));
                else if (word != QLatin1String(","))
                    valueWords.append(word);
            }
        }
        for (const QString &name : std::as_const(names))
            options.insert(name, valueWords.join(QLatin1Char(' ')));
    }
    return options;
}

QString readHelp()
{
    QProcess cli;
    cli.start(QStringLiteral(WARMTEGLOED_CLI), {QStringLiteral("--help")});
    if (!cli.waitForFinished(30000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        return {};
    return QString::fromUtf8(cli.readAllStandardOutput());
}

QString readManPage()
{
    QFile file(QStringLiteral(WARMTEGLOED_CLI_MAN_PAGE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

// The manual page of warmtegloed-cli, option by option, against its --help.
class TestManPage : public QObject
{
    Q_OBJECT

private slots:
    void parsersReadBothSources();
    void optionsAgree_data();
    void optionsAgree();
};

void TestManPage::parsersReadBothSources()
{
    // A parser that silently finds nothing would make the comparison below empty.
    const OptionList help = helpOptions(readHelp());
    const OptionList page = manPageOptions(readManPage());
    QVERIFY2(help.contains(QStringLiteral("--help")), "no options read from warmtegloed-cli --help");
    QVERIFY2(page.contains(QStringLiteral("--help")), "no options read from the manual page");
    QCOMPARE(help.value(QStringLiteral("--pdf")), QStringLiteral("bestand"));
    QCOMPARE(page.value(QStringLiteral("--pdf")), QStringLiteral("bestand"));
}

void TestManPage::optionsAgree_data()
{
    QTest::addColumn<bool>("inHelp");
    QTest::addColumn<bool>("inManPage");
    QTest::addColumn<QString>("helpValue");
    QTest::addColumn<QString>("manPageValue");

    const OptionList help = helpOptions(readHelp());
    const OptionList page = manPageOptions(readManPage());
    QStringList names = help.keys() + page.keys();
    names.removeDuplicates();
    names.sort();
    for (const QString &name : std::as_const(names))
        QTest::newRow(qPrintable(name))
            << help.contains(name) << page.contains(name) << help.value(name) << page.value(name);
}

void TestManPage::optionsAgree()
{
    QFETCH(bool, inHelp);
    QFETCH(bool, inManPage);
    QFETCH(QString, helpValue);
    QFETCH(QString, manPageValue);
    QVERIFY2(inHelp, "the manual page describes an option that --help does not list");
    QVERIFY2(inManPage, "--help lists an option that the manual page (packaging/warmtegloed-cli.1) lacks");
    QCOMPARE(manPageValue, helpValue);
}

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_man_page.moc"
