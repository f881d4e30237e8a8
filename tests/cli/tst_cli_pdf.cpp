// warmtegloed-cli --pdf as a user runs it: the report of the window's "Print" on one page of
// a PDF file that keeps its mode; and when the calculation or the file fails, nothing written.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// The kind and permission bits of what stands at a path, not following a link.
int modeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path), &info) == 0 ? int(info.st_mode) : 0;
}

} // namespace

class TestCliPdf : public QObject
{
    Q_OBJECT

private slots:
    void report_data()
    {
        QTest::addColumn<QString>("setup"); // what stands at the path before
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("onPage");
        const QStringList limitedFace {
            "Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003",
            "De breedte van de opslag bedraagt 40 m.", "De berekende transmissie bedraagt 82.48%.",
            "Van de gehele gevel is 40 m in rekening gebracht.", "Beoordelingspunt 5 12.5 13.66"};
        QTest::newRow("replaced file keeps its mode")
            << "file"
            << "--B 100 --D 20 --H 6 --x 20 --y 80 --screen --hs 3 --xs 2 --K 0.5" << 0 << limitedFace;
        QTest::newRow("undefined flame") << "file"
                                         << "--B 8.7 --D 8.7 --H 0.5" << 1 << QStringList();
        QTest::newRow("FIFO") << "fifo"
                              << "" << 3 << QStringList();
        QTest::newRow("directory") << "directory"
                                   << "" << 3 << QStringList();
        QTest::newRow("folder does not exist") << "missing"
                                               << "" << 3 << QStringList();
    }
    void report()
    {
        QFETCH(QString, setup);
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, onPage);
        QTemporaryDir dir;
        const QString file = dir.filePath(setup == "missing" ? "map/rapport.pdf" : "rapport.pdf");
        const QByteArray name = QFile::encodeName(file);
        if (setup == "file") {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("oud") == 3 && old.flush());
            QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        }
        if (setup == "fifo")
            QVERIFY(::mkfifo(name, 0644) == 0);
        if (setup == "directory")
            QVERIFY(QDir().mkdir(file));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        const int modeBefore = modeOf(file);

        QProcess cli;
        cli.start(WARMTEGLOED_CLI, QStringList {"--pdf", file} + arguments.split(' ', Qt::SkipEmptyParts));
        QVERIFY(cli.waitForFinished(30000));
        const QString error = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), exitCode);
        QCOMPARE(modeOf(file), modeBefore);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
        if (exitCode == 3)
            QVERIFY2(error.startsWith("warmtegloed-cli: ") && error.count('\n') == 1 && error.contains(file),
                     qPrintable(error));
        if (exitCode != 0) {
            QFile kept(file);
            QVERIFY(setup != "file" || (kept.open(QIODevice::ReadOnly) && kept.readAll() == "oud"));
            return;
        }
        QProcess pdftotext; // -layout keeps a table row on one line
        pdftotext.start("pdftotext", {"-layout", file, "-"});
        const QString page =
            pdftotext.waitForFinished() ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : "";
        QCOMPARE(page.count('\f'), 1); // one page
        for (const QString &part : onPage)
            QVERIFY2(page.simplified().contains(part), qPrintable(part + "\nnot in:\n" + page));
    }
};

QTEST_GUILESS_MAIN(TestCliPdf)
#include "tst_cli_pdf.moc"
