#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// The headless UI fixture's watchdog: every modal window that opens while it lives is
// written down and closed at once, so a test that runs into a message box it did not
// expect fails instead of hanging. Tests assert on unexpected() in cleanup().
class ModalDialogGuard : public QObject
{
public:
    ModalDialogGuard() { qApp->installEventFilter(this); }

    QStringList unexpected() const { return m_seen; }
    void clear() { m_seen.clear(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *window = static_cast<QWidget *>(watched);
            if (window->isWindow() && window->isModal()) {
                QString what = window->windowTitle();
                if (auto *box = qobject_cast<QMessageBox *>(window))
                    what += QStringLiteral(": ") + box->text();
                m_seen.append(what);
                QTimer::singleShot(0, window, [window] { window->close(); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QStringList m_seen;
};
