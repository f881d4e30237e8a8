#include "linux_shell.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The Linux shell on the real file system against a private desktop registration: how
// a command line is taken apart, and which program a document gets.
class TestLinuxShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shell_data();
    void shell();

private:
    QTemporaryDir m_root;
};

// Our own desktop, set up before GIO first reads it: the system's mime database, no
// system-wide registrations, a reader whose path has a blank for PDF and nothing for HTML.
void TestLinuxShell::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    const auto write = [this](const QString &name, const QByteArray &content, QFile::Permissions extra) {
        QFile file(m_root.filePath(name));
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(content) >= 0 && file.setPermissions(file.permissions() | extra));
    };
    for (const char *name : {"Adobe Reader/acro read", "prog", "prog two"})
        write(name, {}, QFile::ExeOwner);
    for (const char *name : {"notes.txt", "documenten/Hulpschermen.pdf", "documenten/dummy.html"})
        write(name, {}, {});
    write("DATA_HOME/applications/lezer.desktop",
          "[Desktop Entry]\nType=Application\nName=Lezer\nExec=\""
              + QFile::encodeName(m_root.filePath("Adobe Reader/acro read"))
              + "\" %f\nMimeType=application/pdf;\n",
          {});
    QVERIFY(QDir(m_root.path()).mkpath("DATA_DIRS"));
    QVERIFY(QFile::link("/usr/share/mime", m_root.filePath("DATA_DIRS/mime")));
    for (const char *name : {"DATA_HOME", "CONFIG_HOME", "DATA_DIRS", "CONFIG_DIRS"})
        qputenv(QByteArray("XDG_") + name, QFile::encodeName(m_root.filePath(name)));
    QCOMPARE(QProcess::execute("xdg-mime", {"default", "lezer.desktop", "application/pdf"}), 0);
    QVERIFY(QDir::setCurrent(m_root.path()));
}

// A row: a command line and the program and arguments it splits into, or "find" a document
// and the code and program; "@" stands for the temporary folder.
void TestLinuxShell::shell_data()
{
    QTest::addColumn<QStringList>("row");
    const auto row = [](const char *name, const QStringList &row) { QTest::newRow(name) << row; };
    row("quoted path with blanks",
        {"\"@/Adobe Reader/acro read\" x.pdf", "@/Adobe Reader/acro read", "x.pdf"});
    row("unquoted blanks: no guess", {"@/Adobe Reader/acro read x.pdf"});
    row("words stay words", {"@/prog two a b", "@/prog", "two", "a", "b"});
    row("relative path refused", {"./prog a"}); // though it names one in the current folder
    row("bare name on the PATH", {"sh a", QStandardPaths::findExecutable("sh"), "a"});
    row("file that is no program", {"@/notes.txt a"});
    row("folder is no program", {"@/Adobe Reader a"});
    row("found", {"find documenten/Hulpschermen.pdf", "found", "@/Adobe Reader/acro read"});
    row("no such file", {"find Hulpschermen.pdf", "2", ""});
    row("nothing registered", {"find documenten/dummy.html", "31", ""});
}

void TestLinuxShell::shell()
{
    QFETCH(QStringList, row);
    row.replaceInStrings("@", m_root.path());
    const QString input = row.takeFirst();
    if (input.startsWith("find ")) {
        const QFileInfo file(m_root.filePath(input.mid(5)));
        const auto result = platform::LinuxShell().FindExecutable(file.fileName(), file.absolutePath());
        QCOMPARE((QStringList {result.code >= 32 ? "found" : QString::number(result.code), result.path}),
                 row);
    } else {
        QCOMPARE(platform::LinuxShell::splitCommandLine(input), row);
    }
}

QTEST_GUILESS_MAIN(TestLinuxShell)
#include "tst_linux_shell.moc"
