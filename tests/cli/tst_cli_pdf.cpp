// warmtegloed-cli --pdf as a user runs it: the report of the window's "Print" on one page of
// a PDF file, and no file when the calculation or the file fails.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// The kind and permission bits of what stands at a path, through links or not.
mode_t modeOf(const QString &path, bool follow)
{
    struct stat info;
    const QByteArray name = QFile::encodeName(path);
    return (follow ? ::stat(name, &info) : ::lstat(name, &info)) == 0 ? info.st_mode : 0;
}

} // namespace

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

    // What stands at the --pdf path: only a regular file is written, a new one with 0666 minus the
    // umask, a replaced one keeping its mode; anything else is refused, untouched, in one line.
    void target_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("mode"); // of what the path names afterwards, through links
        QTest::newRow("new file") << "nothing" << 0 << (S_IFREG | 0644);
        QTest::newRow("replaced file keeps its mode") << "file" << 0 << (S_IFREG | 0604);
        QTest::newRow("link to a file: written through") << "link" << 0 << (S_IFREG | 0604);
        QTest::newRow("FIFO") << "fifo" << 3 << (S_IFIFO | 0644);
        QTest::newRow("directory") << "directory" << 3 << (S_IFDIR | 0755);
        QTest::newRow("character device") << "device" << 3 << (S_IFCHR | 0666);
    }
    void target()
    {
        QFETCH(QString, setup);
        QFETCH(int, exitCode);
        QFETCH(int, mode);
        if (setup == "device" && ::geteuid() != 0)
            QSKIP("only root makes a device node");
        QTemporaryDir dir;
        const QString file = dir.filePath("rapport.pdf");
        const QByteArray name = QFile::encodeName(file);
        QFile old(dir.filePath("oud.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("oud") == 3);
        old.close();
        QVERIFY(::chmod(QFile::encodeName(old.fileName()), 0604) == 0);
        if (setup == "file")
            QVERIFY(QFile::rename(old.fileName(), file));
        if (setup == "link")
            QVERIFY(QFile::link("oud.pdf", file));
        if (setup == "fifo")
            QVERIFY(::mkfifo(name, 0644) == 0);
        if (setup == "directory")
            QVERIFY(QDir().mkdir(file) && ::chmod(name, 0755) == 0);
        if (setup == "device")
            QVERIFY(::mknod(name, S_IFCHR | 0666, makedev(1, 3)) == 0 && ::chmod(name, 0666) == 0);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

        const mode_t umask = ::umask(022);
        QProcess cli;
        cli.start(WARMTEGLOED_CLI, {"--pdf", file});
        ::umask(umask);
        QVERIFY(cli.waitForFinished(30000));
        const QString error = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), exitCode);
        QCOMPARE(int(modeOf(file, true)), mode);
        QCOMPARE(S_ISLNK(modeOf(file, false)), setup == "link");
        QStringList after = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        if (setup == "nothing")
            after.removeOne("rapport.pdf");
        QCOMPARE(after, before); // no temporary file beside it
        if (exitCode == 0) {
            QVERIFY(error.isEmpty());
            QFile written(file);
            QVERIFY(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-");
        } else {
            QVERIFY2(error.startsWith("warmtegloed-cli: ") && error.count('\n') == 1 && error.contains(file),
                     qPrintable(error));
        }
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
