#include "window_picture.h"

#include "application_look.h"
#include "form1.h"
#include "linux_shell.h"
#include "message_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QIcon>
#include <QPainter>

namespace {

// Nothing asks a question while the picture is taken; should it, nobody is there.
class SilentMessageBox : public platform::MessageBox
{
public:
    int MsgBox(const QString &, int, const QString &) override { return platform::vbOK; }
};

constexpr int kScale = 2;
constexpr int kActivationWait = 10000; // ms
constexpr int kTitleBarHeight = 24;

// An offscreen window has no frame, so its caption and icon are drawn as a plain
// title bar above the client area, as the user sees them on the desktop.
void drawTitleBar(QPainter &painter, const Form1 &form)
{
    const QRect bar(0, 0, form.width(), kTitleBarHeight);
    painter.fillRect(bar, QColor(0x3c, 0x5a, 0x82));
    const QIcon icon = form.windowIcon();
    if (!icon.isNull())
        icon.paint(&painter, QRect(4, 4, 16, 16));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(bar.adjusted(26, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, form.windowTitle());
}

} // namespace

QImage grabMainWindow()
{
    // The look the program gives itself at start-up.
    widgets::applyApplicationLook();
    // The field with the focus shows its cursor steadily, not as a blink caught at some
    // moment: the picture comes out the same in every build.
    QApplication::setCursorFlashTime(0);

    SilentMessageBox messageBox;
    platform::LinuxShell shell;
    FormServices services;
    services.messageBox = &messageBox;
    services.shell = &shell;

    Form1 form(services);
    form.show();
    form.activateWindow();
    // Drawn as the user sees it, active, with the cursor in the first field. The platform
    // activates the window a moment after it is shown, later on a busy machine: a picture
    // taken before would differ from build to build.
    QElapsedTimer waited;
    waited.start();
    while (!form.isActiveWindow() && waited.elapsed() < kActivationWait)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!form.isActiveWindow())
        return {};
    form.Command2_Click(); // the picture shows results for the design values

    const QSize size(form.width(), form.height() + kTitleBarHeight);
    QImage image(size * kScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kScale);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawTitleBar(painter, form);
    painter.end();
    form.render(&image, QPoint(0, kTitleBarHeight));
    return image;
}
