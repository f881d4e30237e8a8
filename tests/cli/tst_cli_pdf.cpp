// warmtegloed-cli --pdf as a user runs it: the report of the window's "Print" in a PDF
// file, and no file when the calculation or the file fails.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

int runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(WARMTEGLOED_CLI), arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The page's text with the table's rows on one line each, blanks folded.
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
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("onPage"); // empty: no file at all

        QTest::newRow("outdoor, limited face, screen")
            << QStringList{"--B", "100", "--D", "20", "--H", "6", "--x", "20", "--y", "80", "--screen", "--hs", "3",
                           "--xs", "2", "--K", "0.5"} << 0
            << QStringList{"Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003",
                           "De breedte van de opslag bedraagt 40 m.", "De efficiency van de afscherming is 0.5.",
                           "Van de gehele gevel is 40 m in rekening gebracht.",
                           "De berekende transmissie bedraagt 82.48%.", "Beoordelingspunt 5 12.5 13.66"};
        QTest::newRow("indoor") << QStringList{"--indoor"} << 0
            << QStringList{"De berekening wordt uitgevoerd voor een binnenopslag.", "Beoordelingspunt 1 4 22.29"};
        QTest::newRow("undefined calculation") << QStringList{"--B", "0"} << 1 << QStringList{};
        QTest::newRow("folder does not exist") << QStringList{"--pdf", "missing/rapport.pdf"} << 3 << QStringList{};
    }

    void report()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, onPage);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("rapport.pdf"));
        if (!arguments.contains("--pdf"))
            arguments << "--pdf" << file;
        else
            arguments.last() = dir.filePath(arguments.last());
        QCOMPARE(runCli(arguments), exitCode);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(files, onPage.isEmpty() ? QStringList() : QStringList{"rapport.pdf"});
        const QString text = onPage.isEmpty() ? QString() : pageText(file);
        for (const QString &part : onPage)
            QVERIFY2(text.contains(part), qPrintable("missing: " + part + "\nin: " + text));
    }
};

QTEST_GUILESS_MAIN(TestCliPdf)
#include "tst_cli_pdf.moc"
