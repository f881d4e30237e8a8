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
    void splitCommandLine_data();
    void splitCommandLine();
    void findExecutable_data();
    void findExecutable();

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

// A command line split by the Desktop Entry quoting rules: no program is guessed from a
// path with blanks; "@" stands for the temporary folder.
void TestLinuxShell::splitCommandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("split"); // program and arguments; empty: no program
    // clang-format off
    QTest::newRow("quoted path with blanks") << "\"@/Adobe Reader/acro read\" x.pdf"
                                             << QStringList {"@/Adobe Reader/acro read", "x.pdf"};
    QTest::newRow("unquoted blanks: no guess") << "@/Adobe Reader/acro read x.pdf" << QStringList();
    // though it names a program in the current folder
    QTest::newRow("relative path refused") << "./prog a" << QStringList();
    QTest::newRow("bare name on the PATH") << "sh a" << QStringList {QStandardPaths::findExecutable("sh"), "a"};
    QTest::newRow("folder is no program") << "@/Adobe Reader a" << QStringList();
    // clang-format on
}

void TestLinuxShell::splitCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, split);
    const QString root = m_root.path();
    QCOMPARE(platform::LinuxShell::splitCommandLine(commandLine.replace("@", root)),
             split.replaceInStrings("@", root));
}

// The program registered for a document in a folder, or the code of what is missing.
void TestLinuxShell::findExecutable_data()
{
    QTest::addColumn<QString>("document"); // in the temporary folder
    QTest::addColumn<int>("code");         // 32 stands for every code from 32 up: found
    QTest::addColumn<QString>("program");
    QTest::newRow("found") << "documenten/Hulpschermen.pdf" << 32 << "/Adobe Reader/acro read";
    QTest::newRow("nothing registered") << "documenten/dummy.html" << 31 << "";
}

void TestLinuxShell::findExecutable()
{
    QFETCH(QString, document);
    QFETCH(int, code);
    QFETCH(QString, program);
    const QFileInfo file(m_root.filePath(document));
    const auto result = platform::LinuxShell().FindExecutable(file.fileName(), file.absolutePath());
    QCOMPARE(std::min(result.code, 32), code);
    QCOMPARE(result.path, program.isEmpty() ? program : m_root.path() + program);
}

QTEST_GUILESS_MAIN(TestLinuxShell)
#include "tst_linux_shell.moc"
