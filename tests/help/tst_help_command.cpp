#include "help_command.h"
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
};

// Each row's log: the lookups and starts, then the message boxes, then the current directory.
void TestHelpCommand::command3Click_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("expected");
    using Log = QStringList;
    const QString inProgram = QStringLiteral("cwd /programma");
    const QString inHome = QStringLiteral("cwd /thuis");
    const QString failed =
        QStringLiteral("Help (48): Het programma \"%1\" kon niet worden gestart om \"%2\" te openen.");

    QTest::newRow("found: viewer, unquoted path with blank")
        << "pdf reader" << Log {kFindPdf, kStartReader, inProgram};
    QTest::newRow("second request looks in the program folder")
        << "pdf reader twice"
        << Log {kFindPdf, kStartReader, "find Hulpschermen.pdf in /programma", kStartReader, inProgram};
    QTest::newRow("no document, No") << "reader html browser no" << Log {kFindPdf, kQuestion, inHome};
    QTest::newRow("no reader, Yes, browser found")
        << "pdf html browser" << Log {kFindPdf, kFindHtml, kStartBrowser, kQuestion, inHome};
    QTest::newRow("Yes, no dummy.html")
        << "reader browser" << Log {kFindPdf, kFindHtml, kQuestion, kImpossible, inHome};
    QTest::newRow("Yes, no browser") << "reader html"
                                     << Log {kFindPdf, kFindHtml, kQuestion, kImpossible, inHome};
    QTest::newRow("viewer fails to start")
        << "pdf reader fail"
        << Log {kFindPdf, kStartReader, failed.arg(kReader, "Hulpschermen.pdf"), inProgram};
}

void TestHelpCommand::command3Click()
{
    QFETCH(QString, setup);
    const QStringList has = setup.split(' ');
    RecordingShell shell;
    // The program folder holds both documents: only the user's folder may count.
    shell.files << "/programma/Hulpschermen.pdf"
                << "/programma/dummy.html";
    if (has.contains("pdf"))
        shell.files << "/thuis/Hulpschermen.pdf";
    if (has.contains("html"))
        shell.files << "/thuis/dummy.html";
    if (has.contains("reader"))
        shell.programs.insert("pdf", kReader);
    if (has.contains("browser"))
        shell.programs.insert("html", kBrowser);
    shell.startSucceeds = !has.contains("fail");
    RecordingMessageBox messageBox;
    messageBox.answers << (has.contains("no") ? vbNo : vbYes);

    help::HelpCommand command(shell, messageBox);
    command.Command3_Click();
    if (has.contains("twice"))
        command.Command3_Click();
    QTEST(shell.log << messageBox.shown << "cwd " + shell.currentDirectory, "expected");
}

QTEST_GUILESS_MAIN(TestHelpCommand)
#include "tst_help_command.moc"
