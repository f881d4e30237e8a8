// The help button's branches against a made-up desktop, the help of the other windows (where
// they take the document from), and the Exec lines of application registrations as the help
// starts them: quoting and escapes, field codes, lines that start nothing.

#include "desktop_exec.h"
#include "help_command.h"
#include "open_help.h"
#include "recording_message_box.h"
#include "recording_shell.h"

#include <QLocale>
#include <QTest>

using namespace platform;

namespace {

const QString kReader = QStringLiteral("/opt/Acro Reader/acroread");
const QString kBrowser = QStringLiteral("/usr/bin/firefox");
const QString kQuestion = QStringLiteral(
    "Adobe (4): Help file niet gevonden of Acrobat Reader niet gevonden: Acrobat Reader installeren?");
const QString kImpossible = QStringLiteral("Adobe (48): Installatie via internet niet mogelijk gebleken");
const QString kFindPdf = QStringLiteral("find Hulpschermen.pdf in /thuis");
const QString kFindHtml = QStringLiteral("find dummy.html in /thuis");
const QString kStartReader = "start(3) " + kReader + " Hulpschermen.pdf in /programma";
const QString kStartBrowser =
    "start(3) " + kBrowser + " " + QLatin1String(help::kReaderVendorSite) + " in /thuis";

} // namespace

// The help button's branches against a made-up desktop: which documents lie in the
// user's folder, which programs are registered, the answer and whether a start works.
class TestHelpCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }
    void command3Click_data();
    void command3Click();
    void openHelp_data();
    void openHelp();
    void expand_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("argv"); // empty: refused
        const QString pdf = "Hulpschermen.pdf";
        QTest::newRow("program and %f") << "evince %f" << pdf << QStringList {"evince", pdf};
        QTest::newRow("escapes inside quotes") << "sh \"a \\\"b\\\" \\`c\\` \\$d \\\\e\" %f" << pdf
                                               << QStringList {"sh", "a \"b\" `c` $d \\e", pdf};
        QTest::newRow("%% is a percent sign") << "tool 100%% %f" << pdf << QStringList {"tool", "100%", pdf};
        QTest::newRow("%i %c %k dropped") << "viewer %i %c %k %f" << pdf << QStringList {"viewer", pdf};
        QTest::newRow("no file code: target last")
            << "viewer --fullscreen" << pdf << QStringList {"viewer", "--fullscreen", pdf};
        QTest::newRow("target not expanded again") << "viewer %f"
                                                   << "%f%%.pdf" << QStringList {"viewer", "%f%%.pdf"};
        QTest::newRow("empty line") << "" << pdf << QStringList();
        QTest::newRow("unclosed quote") << "\"/opt/Pdf Viewer/viewer.sh %f" << pdf << QStringList();
        QTest::newRow("unknown field code") << "viewer %x" << pdf << QStringList();
    }
    void expand()
    {
        QFETCH(QString, line);
        QFETCH(QString, target);
        QFETCH(QStringList, argv);
        QStringList expanded;
        QString error;
        const bool ok = platform::DesktopExec::expand(line, target, expanded, &error);
        QCOMPARE(ok, !argv.isEmpty());
        QCOMPARE(error.isEmpty(), ok);
        if (ok)
            QCOMPARE(expanded, argv);
    }
};

// What the made-up desktop holds and what the user does.
enum Setup {
    Pdf = 1,        // Hulpschermen.pdf in the user's folder
    Html = 2,       // dummy.html in the user's folder
    Reader = 4,     // a program registered for PDF
    Browser = 8,    // a program registered for HTML
    AnswerNo = 16,  // to the question to install the reader
    Twice = 32,     // help asked for twice
    StartFails = 64 // the registered program does not start
};

// Each row's log: the lookups and starts, then the message boxes, then the current directory.
void TestHelpCommand::command3Click_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QStringList>("expected");
    using Log = QStringList;
    const QString inProgram = QStringLiteral("cwd /programma");
    const QString inHome = QStringLiteral("cwd /thuis");
    const QString failedToStart = "Help (48): Het programma \"" + kReader
        + "\" kon niet worden gestart om \"Hulpschermen.pdf\" te openen.";
    const QString findAgain = QStringLiteral("find Hulpschermen.pdf in /programma");
    // clang-format off
    QTest::newRow("found: viewer, unquoted path with blank") << Pdf + Reader << Log {kFindPdf, kStartReader, inProgram};
    QTest::newRow("second request looks in the program folder")
        << Pdf + Reader + Twice << Log {kFindPdf, kStartReader, findAgain, kStartReader, inProgram};
    QTest::newRow("no document, No") << Reader + Html + Browser + AnswerNo << Log {kFindPdf, kQuestion, inHome};
    QTest::newRow("no reader, Yes, browser found") << Pdf + Html + Browser
                                                   << Log {kFindPdf, kFindHtml, kStartBrowser, kQuestion, inHome};
    QTest::newRow("Yes, no dummy.html") << Reader + Browser
                                        << Log {kFindPdf, kFindHtml, kQuestion, kImpossible, inHome};
    QTest::newRow("viewer fails to start") << Pdf + Reader + StartFails
                                           << Log {kFindPdf, kStartReader, failedToStart, inProgram};
    // clang-format on
}

void TestHelpCommand::command3Click()
{
    QFETCH(int, setup);
    RecordingShell shell;
    // The program folder holds both documents: only the user's folder may count.
    shell.files << "/programma/Hulpschermen.pdf"
                << "/programma/dummy.html";
    if (setup & Pdf)
        shell.files << "/thuis/Hulpschermen.pdf";
    if (setup & Html)
        shell.files << "/thuis/dummy.html";
    if (setup & Reader)
        shell.programs.insert("pdf", kReader);
    if (setup & Browser)
        shell.programs.insert("html", kBrowser);
    shell.startSucceeds = !(setup & StartFails);
    RecordingMessageBox messageBox;
    messageBox.answers << (setup & AnswerNo ? vbNo : vbYes);

    help::HelpCommand command(shell, messageBox);
    command.Command3_Click();
    if (setup & Twice)
        command.Command3_Click();
    QTEST(shell.log << messageBox.shown << "cwd " + shell.currentDirectory, "expected");
}

// Another window's help: the files of the made-up desktop, the registered programs and the
// answer; the log as above, the current directory last (the caller's, /thuis, again).
void TestHelpCommand::openHelp_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QStringList>("expected");
    using Log = QStringList;
    const QString installed = QStringLiteral("/usr/share/warmtegloed");
    const QString findBeside = QStringLiteral("find Hulpschermen.pdf in /programma");
    const QString findInstalled = "find Hulpschermen.pdf in " + installed;
    const QString inHome = QStringLiteral("cwd /thuis");
    QTest::newRow("beside the program")
        << Log {"/programma/Hulpschermen.pdf"} << true << Log {findBeside, findBeside, kStartReader, inHome};
    QTest::newRow("installed") << Log {installed + "/Hulpschermen.pdf", installed + "/dummy.html"} << true
                               << Log {findBeside, findInstalled, findInstalled,
                                       "start(3) " + kReader + " Hulpschermen.pdf in " + installed, inHome};
    QTest::newRow("the user's folder does not count, No")
        << Log {"/thuis/Hulpschermen.pdf"} << false
        << Log {findBeside, findInstalled, findBeside, kQuestion, inHome};
    QTest::newRow("nowhere, Yes: the browser probe beside the program")
        << Log {"/programma/dummy.html"} << true
        << Log {findBeside,
                findInstalled,
                findBeside,
                "find dummy.html in /programma",
                "start(3) " + kBrowser + " " + QLatin1String(help::kReaderVendorSite) + " in /thuis",
                kQuestion,
                inHome};
}

void TestHelpCommand::openHelp()
{
    QFETCH(QStringList, files);
    QFETCH(bool, answerYes);
    RecordingShell shell;
    for (const QString &file : std::as_const(files))
        shell.files << file;
    shell.programs.insert("pdf", kReader);
    shell.programs.insert("html", kBrowser);
    RecordingMessageBox messageBox;
    messageBox.answers << (answerYes ? vbYes : vbNo);
    help::openHelp(shell, messageBox, QStringLiteral("/usr/share/warmtegloed"));
    QTEST(shell.log << messageBox.shown << "cwd " + shell.currentDirectory, "expected");
}

QTEST_GUILESS_MAIN(TestHelpCommand)
#include "tst_help_command.moc"
