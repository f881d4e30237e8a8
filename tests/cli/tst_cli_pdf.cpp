// warmtegloed-cli --pdf as a user runs it: the report of the window's "Print" written to
// a PDF file, and no file when the calculation or the file fails.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(WARMTEGLOED_CLI), arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The page's text, blanks and line breaks folded to single blanks.
QString pageText(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    pdftotext.waitForFinished(10000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
}

} // namespace

class TestCliPdf : public QObject
{
    Q_OBJECT

private slots:
    void report_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("onPage");

        QTest::newRow("outdoor, limited face, screen")
            << QStringList{"--B", "100", "--D", "20", "--H", "6", "--x", "20", "--y", "80",
                           "--screen", "--hs", "3", "--xs", "2", "--K", "0.5"}
            << QStringList{"Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003",
                           "De breedte van de opslag bedraagt 40 m.",
                           "De efficiency van de afscherming is 0.5.",
                           "Van de gehele gevel is 40 m in rekening gebracht.",
                           "De berekende transmissie bedraagt 82.48%.",
                           "Beoordelingspunt 5 12.5 13.66"};
        QTest::newRow("indoor")
            << QStringList{"--indoor"}
            << QStringList{"De berekening wordt uitgevoerd voor een binnenopslag.",
                           "Voor de warmtestralingsflux is uitgegaan van 45 kW per m",
                           "Beoordelingspunt 1 4 22.29"};
    }

    void report()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, onPage);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("rapport.pdf"));
        const Run run = runCli(arguments + QStringList{"--pdf", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("Beoordelingspunt 1")));
        const QString text = pageText(file);
        for (const QString &part : onPage)
            QVERIFY2(text.contains(part), qPrintable("missing: " + part + "\nin: " + text));
        QVERIFY(!text.contains(QStringLiteral("PRINTER MESSAGE")));
    }

    void noReport_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("inMissingFolder");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("undefined calculation") << QStringList{"--B", "0"} << false << 1;
        QTest::newRow("folder does not exist") << QStringList{} << true << 3;
    }

    void noReport()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, inMissingFolder);
        QFETCH(int, exitCode);

        QTemporaryDir dir;
        const QString file = dir.filePath(inMissingFolder ? "missing/rapport.pdf" : "rapport.pdf");
        const Run run = runCli(arguments + QStringList{"--pdf", file});
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCliPdf)
#include "tst_cli_pdf.moc"
