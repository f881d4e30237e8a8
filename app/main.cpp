// Starts the calculator: one window, centred, with the real message box, shell and
// printer behind it. The program takes no command line and stores nothing.

#include "form1.h"
#include "qt_message_box.h"

#include <QApplication>
#include <QScreen>

#include <memory>

#if __has_include("linux_shell.h")
#include "linux_shell.h"
#define WARMTEGLOED_HAVE_SHELL 1
#endif
#if __has_include("qt_printer.h")
#include "qt_printer.h"
#define WARMTEGLOED_HAVE_PRINTER 1
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    platform::QtMessageBox messageBox;
    FormServices services;
    services.messageBox = &messageBox;
#ifdef WARMTEGLOED_HAVE_SHELL
    platform::LinuxShell shell;
    services.shell = &shell;
#endif
#ifdef WARMTEGLOED_HAVE_PRINTER
    // A new printer object per print, bound to the default printer at that moment.
    services.makePrinter = []() -> std::unique_ptr<platform::Printer> {
        return std::make_unique<platform::QtPrinter>();
    };
#endif

    Form1 window(services);
    messageBox.setOwner(&window);
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}
