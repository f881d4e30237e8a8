// warmtegloed-cli --pdf as a user runs it: the report of the window's "Print" on one page of
// a PDF file, and no file when the calculation or the file fails.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCliPdf : public QObject
{
    Q_OBJECT

private slots:
    void report_data()
    {
        QTest::addColumn<QString>("arguments"); // %1: a new empty folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("onPage"); // empty: no file at all
        QTest::newRow("outdoor, limited face, screen")
            << "--B 100 --D 20 --H 6 --x 20 --y 80 --screen --hs 3 --xs 2 "
               "--K 0.5 --pdf %1/rapport.pdf"
            << 0
            << QStringList {
                   "Berekeningsmethode warmtegloedvracht opslagen. Versie "
                   "1.0 2003",
                   "De breedte van de opslag bedraagt 40 m.", "De berekende transmissie bedraagt 82.48%.",
                   "Van de gehele gevel is 40 m in rekening gebracht.", "Beoordelingspunt 5 12.5 13.66"};
        QTest::newRow("folder does not exist") << "--pdf %1/missing/rapport.pdf" << 3 << QStringList();
    }

    void report()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, onPage);
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute(WARMTEGLOED_CLI, arguments.arg(dir.path()).split(' ')), exitCode);
        QCOMPARE(QDir(dir.path()).isEmpty(), onPage.isEmpty()); // a failure leaves nothing behind
        QProcess pdftotext;                                     // -layout keeps a table row on one line
        pdftotext.start("pdftotext", {"-layout", dir.filePath("rapport.pdf"), "-"});
        const QString page =
            pdftotext.waitForFinished() ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : "";
        QCOMPARE(page.count('\f'), onPage.isEmpty() ? 0 : 1); // one page
        for (const QString &part : onPage)
            QVERIFY2(page.simplified().contains(part), qPrintable(part + "\nnot in:\n" + page));
    }
};

QTEST_GUILESS_MAIN(TestCliPdf)
#include "tst_cli_pdf.moc"
