#include "linux_shell.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeProgram(const QString &path, const QByteArray &body)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
}

} // namespace

// The Linux shell against the real file system and process table: how an unquoted
// command line is taken apart, and that a start is detached in the current folder.
class TestLinuxShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splitCommandLine_data();
    void splitCommandLine();
    void shellStartsInCurrentDirectory();
    void findExecutableNeedsTheDocument();

private:
    QTemporaryDir m_root;
    QString m_recorderOutput;
};

void TestLinuxShell::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    QVERIFY(m_root.isValid());
    m_recorderOutput = m_root.filePath("recorded.txt");
    writeProgram(m_root.filePath("Adobe Reader/acro read"),
                 "{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > '" + m_recorderOutput.toUtf8()
                     + ".part' && mv '" + m_recorderOutput.toUtf8() + ".part' '" + m_recorderOutput.toUtf8() + "'\n");
    writeProgram(m_root.filePath("prog"), "");
    writeProgram(m_root.filePath("prog two"), "");
    QFile notes(m_root.filePath("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
}

void TestLinuxShell::splitCommandLine_data()
{
    // "@" stands for the temporary folder holding the programs.
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("program path with blanks")
        << "@/Adobe Reader/acro read Hulpschermen.pdf"
        << QStringList{"@/Adobe Reader/acro read", "Hulpschermen.pdf"};
    QTest::newRow("shortest executable prefix wins")
        << "@/prog two Hulpschermen.pdf" << QStringList{"@/prog", "two Hulpschermen.pdf"};
    QTest::newRow("rest stays one argument with its blanks")
        << "@/prog https://example.org/a b" << QStringList{"@/prog", "https://example.org/a b"};
    QTest::newRow("program alone") << "@/prog" << QStringList{"@/prog"};
    QTest::newRow("bare name from the PATH")
        << "sh Hulpschermen.pdf" << QStringList{QStandardPaths::findExecutable("sh"), "Hulpschermen.pdf"};
    QTest::newRow("file that is no program") << "@/notes.txt Hulpschermen.pdf" << QStringList();
    QTest::newRow("folder is no program") << "@/Adobe Reader Hulpschermen.pdf" << QStringList();
    QTest::newRow("nothing that exists") << "/geen/programma Hulpschermen.pdf" << QStringList();
}

void TestLinuxShell::splitCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, expected);
    commandLine.replace('@', m_root.path());
    expected.replaceInStrings("@", m_root.path());
    QCOMPARE(platform::LinuxShell::splitCommandLine(commandLine), expected);
}

void TestLinuxShell::shellStartsInCurrentDirectory()
{
    const QString work = m_root.filePath("werkmap");
    QVERIFY(QDir().mkpath(work));
    platform::LinuxShell shell;
    const QString before = shell.CurDir();
    QVERIFY(shell.ChDir(work));
    QCOMPARE(shell.CurDir(), work);

    QVERIFY(shell.Shell(m_root.filePath("Adobe Reader/acro read") + " Hulpschermen.pdf", 3));
    QVERIFY(!shell.Shell(m_root.filePath("geen programma") + " Hulpschermen.pdf", 3));
    QVERIFY(shell.ChDir(before));

    // The start returns at once; the program writes its folder and arguments later.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_recorderOutput), 5000);
    QFile recorded(m_recorderOutput);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(recorded.readAll()), work + "\n[Hulpschermen.pdf]\n");
}

void TestLinuxShell::findExecutableNeedsTheDocument()
{
    platform::LinuxShell shell;
    const platform::FindExecutableResult result = shell.FindExecutable("Hulpschermen.pdf", m_root.path());
    QCOMPARE(result.code, 2);
    QVERIFY(result.path.isEmpty());
    QCOMPARE(shell.AppPath(), QCoreApplication::applicationDirPath());
}

QTEST_GUILESS_MAIN(TestLinuxShell)
#include "tst_linux_shell.moc"
