#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Notes and closes at once every modal window that opens while it lives, so that a
// test running into a dialog it did not expect fails instead of hanging.
class ModalDialogGuard : public QObject
{
public:
    ModalDialogGuard() { qApp->installEventFilter(this); }
    QStringList unexpected() const { return m_seen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && window && window->isWindow() && window->isModal()) {
            const auto *box = qobject_cast<QMessageBox *>(window);
            m_seen << window->windowTitle() + QStringLiteral(": ") + (box ? box->text() : QString());
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QStringList m_seen;
};
