#include "linux_shell.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
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

// The Linux shell against the real file system and a private desktop registration:
// how an unquoted command line is taken apart, and which program a document gets.
// Starting programs is exercised through the window in the help system test.
class TestLinuxShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splitCommandLine_data();
    void splitCommandLine();
    void findExecutable_data();
    void findExecutable();

private:
    void registerPrograms();

    QTemporaryDir m_root;
};

void TestLinuxShell::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    QVERIFY(m_root.isValid());
    writeProgram(m_root.filePath("Adobe Reader/acro read"), "");
    writeProgram(m_root.filePath("prog"), "");
    writeProgram(m_root.filePath("prog two"), "");
    QFile notes(m_root.filePath("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    registerPrograms();
}

// A desktop of our own, set up before GIO first reads it: the mime database of the
// system, no system-wide registrations, a reader (path with blanks) for PDF documents
// and "env NAME=value sh" for PNG pictures; nothing for HTML (nor for plain text, of
// which HTML is a kind).
void TestLinuxShell::registerPrograms()
{
    const QString data = m_root.filePath("xdg/data");
    const QString dirs = m_root.filePath("xdg/dirs");
    QVERIFY(QDir().mkpath(data + "/applications"));
    QVERIFY(QDir().mkpath(dirs));
    QVERIFY(QDir().mkpath(m_root.filePath("xdg/config")));
    QVERIFY(QFile::link("/usr/share/mime", dirs + "/mime"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.filePath("xdg/config")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dirs));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_root.filePath("xdg/config-dirs")));

    const auto desktopFile = [&data](const QString &name, const QString &exec, const QString &type) {
        QFile file(data + "/applications/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %f\nMimeType=%3;\n")
                       .arg(name, exec, type).toUtf8());
        file.close();
        QCOMPARE(QProcess::execute("xdg-mime", {"default", name, type}), 0);
    };
    desktopFile("lezer.desktop", '"' + m_root.filePath("Adobe Reader/acro read") + '"', "application/pdf");
    desktopFile("beeld.desktop", "env BAMF_DESKTOP_FILE_HINT=beeld.desktop sh", "image/png");
    QVERIFY(QDir().mkpath(m_root.filePath("documenten")));
    for (const char *name : {"Hulpschermen.pdf", "dummy.html", "plaatje.png"}) {
        QFile document(m_root.filePath("documenten/") + name);
        QVERIFY(document.open(QIODevice::WriteOnly));
    }
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

void TestLinuxShell::findExecutable_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("expectedCode");
    QTest::addColumn<QString>("expectedPath");

    QTest::newRow("reader with blanks in its path")
        << "Hulpschermen.pdf" << "documenten" << 42 << "@/Adobe Reader/acro read";
    QTest::newRow("bare program after env settings, resolved on the PATH")
        << "plaatje.png" << "documenten" << 42 << QStandardPaths::findExecutable("sh");
    QTest::newRow("document not in that folder") << "Hulpschermen.pdf" << "." << 2 << QString();
    QTest::newRow("folder does not exist") << "Hulpschermen.pdf" << "nergens" << 2 << QString();
    QTest::newRow("no program for the type") << "dummy.html" << "documenten" << 31 << QString();
}

void TestLinuxShell::findExecutable()
{
    QFETCH(QString, document);
    QFETCH(QString, folder);
    QFETCH(int, expectedCode);
    QFETCH(QString, expectedPath);
    expectedPath.replace('@', m_root.path());

    platform::LinuxShell shell;
    const platform::FindExecutableResult result = shell.FindExecutable(document, m_root.filePath(folder));
    QCOMPARE(result.code >= 32 ? 42 : result.code, expectedCode);
    QCOMPARE(result.path, expectedPath);
}

QTEST_GUILESS_MAIN(TestLinuxShell)
#include "tst_linux_shell.moc"
