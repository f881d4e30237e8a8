#include "help_command.h"

#include "message_box.h"
#include "system_shell.h"

#include <QString>

namespace help {

namespace {

const QString kHelpDocument = QStringLiteral("Hulpschermen.pdf");
const QString kBrowserProbe = QStringLiteral("dummy.html");
const QString kTitle = QStringLiteral("Adobe");
const QString kInstallQuestion =
    QStringLiteral("Help file niet gevonden of Acrobat Reader niet gevonden: Acrobat Reader installeren?");
const QString kInstallImpossible = QStringLiteral("Installatie via internet niet mogelijk gebleken");
const QString kStartFailedTitle = QStringLiteral("Help");
const QString kStartFailed =
    QStringLiteral("Het programma \"%1\" kon niet worden gestart om \"%2\" te openen.");

} // namespace

HelpCommand::HelpCommand(platform::SystemShell &shell, platform::MessageBox &messageBox)
    : m_shell(shell)
    , m_messageBox(messageBox)
{ }

void HelpCommand::Command3_Click()
{
    const platform::FindExecutableResult viewer = m_shell.FindExecutable(kHelpDocument, m_shell.CurDir());
    if (viewer.code >= 32) {
        // The document is looked up where the user is, but the viewer gets its bare
        // name and so resolves it against the program's folder.
        m_shell.ChDir(m_shell.AppPath());
        start(viewer, kHelpDocument);
        return;
    }
    const int answer =
        m_messageBox.MsgBox(kInstallQuestion, platform::vbYesNo + platform::vbDefaultButton1, kTitle);
    if (answer == platform::vbYes)
        InstallReaderViaInternet();
}

void HelpCommand::InstallReaderViaInternet()
{
    const platform::FindExecutableResult browser = m_shell.FindExecutable(kBrowserProbe, m_shell.CurDir());
    if (browser.code >= 32) {
        start(browser, QLatin1String(kReaderVendorSite));
        return;
    }
    m_messageBox.MsgBox(kInstallImpossible, platform::vbOKOnly + platform::vbExclamation, kTitle);
}

void HelpCommand::start(const platform::FindExecutableResult &program, const QString &argument)
{
    // The program starts as it is registered, never guessed from a joined command line;
    // a program that does not start is the one failure worth telling.
    if (m_shell.ShellRegistered(program, argument, platform::vbMaximizedFocus))
        return;
    m_messageBox.MsgBox(kStartFailed.arg(program.path, argument),
                        platform::vbOKOnly + platform::vbExclamation, kStartFailedTitle);
}

} // namespace help
