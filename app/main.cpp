// Starts the calculator: one window, centred, with the real message box, shell and
// printer behind it. The program takes no command line and stores nothing.

#include "application_look.h"
#include "form1.h"
#include "linux_shell.h"
#include "qt_message_box.h"
#include "qt_printer.h"
#include "standard_texts.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The window is the menu entry's: docks and task bars match it by its class on X11
    // (the entry's StartupWMClass) and by the entry's id on Wayland.
    QCoreApplication::setApplicationName(QStringLiteral("warmtegloed"));
    QGuiApplication::setDesktopFileName(QStringLiteral(WARMTEGLOED_DESKTOP_ID));
    installStandardTexts(QLocale());
    widgets::applyApplicationLook();

    platform::QtMessageBox messageBox;
    FormServices services;
    services.messageBox = &messageBox;
    platform::LinuxShell shell;
    services.shell = &shell;
    // A new printer object per print, bound to the default printer at that moment.
    services.makePrinter = platform::makeDefaultPrinter;

    Form1 window(services);
    messageBox.setOwner(&window);
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}
