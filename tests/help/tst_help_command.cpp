#include "help_command.h"
#include "message_box.h"
#include "recording_message_box.h"
#include "recording_shell.h"

#include <QLocale>
#include <QTest>

using namespace platform;

namespace {

const QString kHome = QStringLiteral("/home/gebruiker/projecten");
const QString kProgramFolder = QStringLiteral("/opt/warmtegloed/bin");
const QString kReader = QStringLiteral("/usr/bin/evince");
const QString kReaderWithBlanks = QStringLiteral("/opt/Adobe Reader 9/bin/acroread");
const QString kBrowser = QStringLiteral("/usr/bin/firefox-esr");
const QString kVendor = QString::fromLatin1(help::kReaderVendorSite);

const QString kQuestion = QStringLiteral(
    "Adobe|4|Help file niet gevonden of Acrobat Reader niet gevonden: Acrobat Reader installeren?");
const QString kImpossible = QStringLiteral("Adobe|48|Installatie via internet niet mogelijk gebleken");

QString startFailed(const QString &program, const QString &argument)
{
    return QStringLiteral("Help|48|Het programma \"%1\" kon niet worden gestart om \"%2\" te openen.")
        .arg(program, argument);
}

QStringList boxes(const RecordingMessageBox &messageBox)
{
    QStringList list;
    for (const auto &box : messageBox.shown)
        list << QStringLiteral("%1|%2|%3").arg(box.title).arg(box.style).arg(box.prompt);
    return list;
}

QStringList starts(const RecordingShell &shell)
{
    QStringList list;
    for (const auto &start : shell.started)
        list << start.commandLine + QStringLiteral(" @ ") + start.directory;
    return list;
}

} // namespace

// The help button's branches against a made-up desktop: which documents lie where,
// which programs are registered, what the user answers and whether a start works.
class TestHelpCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void command3Click_data();
    void command3Click();
    void secondRequestLooksInProgramFolder();
};

void TestHelpCommand::command3Click_data()
{
    QTest::addColumn<bool>("documentHere");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<bool>("dummyHere");
    QTest::addColumn<QString>("browser");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QStringList>("expectedBoxes");
    QTest::addColumn<QStringList>("expectedStarts");
    QTest::addColumn<QString>("expectedCurDir");

    const QString inProgramFolder = QStringLiteral(" @ ") + kProgramFolder;
    const QString inHome = QStringLiteral(" @ ") + kHome;

    QTest::newRow("document and reader: viewer starts from the program folder")
        << true << kReader << true << kBrowser << int(vbYes) << true << QStringList()
        << QStringList{kReader + " Hulpschermen.pdf" + inProgramFolder} << kProgramFolder;
    QTest::newRow("reader path with blanks goes unquoted")
        << true << kReaderWithBlanks << false << QString() << int(vbYes) << true << QStringList()
        << QStringList{kReaderWithBlanks + " Hulpschermen.pdf" + inProgramFolder} << kProgramFolder;
    QTest::newRow("reader but no document here, No")
        << false << kReader << true << kBrowser << int(vbNo) << true << QStringList{kQuestion} << QStringList()
        << kHome;
    QTest::newRow("document but no reader, No")
        << true << QString() << true << kBrowser << int(vbNo) << true << QStringList{kQuestion} << QStringList()
        << kHome;
    QTest::newRow("no reader, Yes, browser found: vendor site from where the user is")
        << true << QString() << true << kBrowser << int(vbYes) << true << QStringList{kQuestion}
        << QStringList{kBrowser + " " + kVendor + inHome} << kHome;
    QTest::newRow("no document, Yes, dummy.html missing although a browser exists")
        << false << kReader << false << kBrowser << int(vbYes) << true << QStringList{kQuestion, kImpossible}
        << QStringList() << kHome;
    QTest::newRow("no document, Yes, no browser registered")
        << false << kReader << true << QString() << int(vbYes) << true << QStringList{kQuestion, kImpossible}
        << QStringList() << kHome;
    QTest::newRow("viewer fails to start: told, folder already changed")
        << true << kReader << true << kBrowser << int(vbYes) << false
        << QStringList{startFailed(kReader, "Hulpschermen.pdf")}
        << QStringList{kReader + " Hulpschermen.pdf" + inProgramFolder} << kProgramFolder;
    QTest::newRow("browser fails to start: told")
        << false << kReader << true << kBrowser << int(vbYes) << false
        << QStringList{kQuestion, startFailed(kBrowser, kVendor)}
        << QStringList{kBrowser + " " + kVendor + inHome} << kHome;
}

void TestHelpCommand::command3Click()
{
    QFETCH(bool, documentHere);
    QFETCH(QString, reader);
    QFETCH(bool, dummyHere);
    QFETCH(QString, browser);
    QFETCH(int, answer);
    QFETCH(bool, startSucceeds);

    RecordingShell shell;
    // The document always lies in the program folder: only the current directory counts.
    shell.files << kProgramFolder + "/Hulpschermen.pdf" << kProgramFolder + "/dummy.html";
    if (documentHere)
        shell.files << kHome + "/Hulpschermen.pdf";
    if (dummyHere)
        shell.files << kHome + "/dummy.html";
    if (!reader.isEmpty())
        shell.programs.insert("pdf", reader);
    if (!browser.isEmpty())
        shell.programs.insert("html", browser);
    shell.startSucceeds = startSucceeds;
    RecordingMessageBox messageBox;
    messageBox.answers << answer;

    help::HelpCommand(shell, messageBox).Command3_Click();

    QTEST(boxes(messageBox), "expectedBoxes");
    QTEST(starts(shell), "expectedStarts");
    for (const auto &start : shell.started)
        QCOMPARE(start.windowStyle, int(vbMaximizedFocus));
    QTEST(shell.currentDirectory, "expectedCurDir");
    // Every lookup asks in the directory that was current when help was asked for.
    for (const auto &lookup : shell.lookups)
        QCOMPARE(lookup.directory, kHome);
}

void TestHelpCommand::secondRequestLooksInProgramFolder()
{
    RecordingShell shell;
    shell.files << kHome + "/Hulpschermen.pdf" << kProgramFolder + "/Hulpschermen.pdf";
    shell.programs.insert("pdf", kReader);
    RecordingMessageBox messageBox;

    help::HelpCommand command(shell, messageBox);
    command.Command3_Click();
    shell.files.remove(kHome + "/Hulpschermen.pdf");
    command.Command3_Click();

    QCOMPARE(shell.lookups.size(), 2);
    QCOMPARE(shell.lookups[0].document, QStringLiteral("Hulpschermen.pdf"));
    QCOMPARE(shell.lookups[0].directory, kHome);
    QCOMPARE(shell.lookups[1].directory, kProgramFolder);
    QCOMPARE(shell.started.size(), 2);
    QVERIFY(messageBox.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestHelpCommand)
#include "tst_help_command.moc"
