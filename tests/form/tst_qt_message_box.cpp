// The real message box: icon, buttons and default button from the style code, the
// handlers' line break shown as one, and the pressed button handed back.

#include "qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestQtMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void box_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<QString>("pressed"); // empty: Enter
        QTest::addColumn<int>("answer");
        QTest::newRow("input error") << int(platform::vbInformation) << int(QMessageBox::Information)
                                     << QStringList{"OK"} << "OK" << "" << int(platform::vbOK);
        QTest::newRow("question, second default")
            << int(platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2)
            << int(QMessageBox::Question) << QStringList{"&Yes", "&No"} << "&No" << "" << int(platform::vbNo);
        QTest::newRow("exclamation, yes pressed") << int(platform::vbYesNo | platform::vbExclamation)
                                                  << int(QMessageBox::Warning) << QStringList{"&Yes", "&No"}
                                                  << "&Yes" << "&Yes" << int(platform::vbYes);
        QTest::newRow("critical") << int(platform::vbCritical) << int(QMessageBox::Critical)
                                  << QStringList{"OK"} << "OK" << "OK" << int(platform::vbOK);
    }
    void box()
    {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(QString, defaultButton);
        QFETCH(QString, pressed);
        QFETCH(int, answer);

        QString seenText, seenTitle;
        int seenIcon = -1;
        QStringList seenButtons;
        QString seenDefault;
        QTimer::singleShot(0, this, [&] {
            auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            seenText = shown->text();
            seenTitle = shown->windowTitle();
            seenIcon = shown->icon();
            for (QAbstractButton *button : shown->buttons())
                seenButtons << button->text();
            seenDefault = shown->defaultButton() ? shown->defaultButton()->text() : QString();
            if (pressed.isEmpty()) {
                QTest::keyClick(shown, Qt::Key_Return);
                return;
            }
            for (QAbstractButton *button : shown->buttons())
                if (button->text() == pressed)
                    button->click();
        });

        platform::QtMessageBox messageBox;
        const int result = messageBox.MsgBox(QStringLiteral("eerste regel\n\rtweede regel"), style,
                                             QStringLiteral("Invoerfout"));
        QCOMPARE(result, answer);
        QCOMPARE(seenText, QStringLiteral("eerste regel\ntweede regel"));
        QCOMPARE(seenTitle, QStringLiteral("Invoerfout"));
        QCOMPARE(seenIcon, icon);
        seenButtons.sort();
        buttons.sort();
        QCOMPARE(seenButtons, buttons);
        QCOMPARE(seenDefault, defaultButton);
    }
};

QTEST_MAIN(TestQtMessageBox)
#include "tst_qt_message_box.moc"
