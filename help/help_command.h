#pragma once

#include <QString>

namespace platform {
class MessageBox;
class SystemShell;
struct FindExecutableResult;
} // namespace platform

namespace help {

// Where the PDF reader can be downloaded when no reader or help document is found.
inline constexpr char kReaderVendorSite[] = "https://get.adobe.com/reader/";

// Opens the help document "Hulpschermen.pdf" in the registered PDF reader, or offers
// to open the reader vendor's site in the registered browser.
class HelpCommand
{
public:
    explicit HelpCommand(platform::SystemShell &shell, platform::MessageBox &messageBox);

    void Command3_Click();
    void InstallReaderViaInternet();

private:
    void start(const platform::FindExecutableResult &program, const QString &argument);

    platform::SystemShell &m_shell;
    platform::MessageBox &m_messageBox;
};

} // namespace help
