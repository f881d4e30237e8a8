// The numeric input (display formats, typed text, stepping within the bounds, the
// larger step of a held button, its notifications) and the real message box.

#include "cw_num_edit.h"
#include "qt_message_box.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using platform::CWNumEdit;

// An input with its whole text selected, and a second one to leave it for.
struct Host
{
    QWidget window;
    CWNumEdit *edit = new CWNumEdit(&window);
    CWNumEdit *other = new CWNumEdit(&window);
    Host(double value, double maximum, double step, double largerStep = 5)
    {
        edit->setGeometry(10, 10, 41, 17);
        other->setGeometry(10, 35, 41, 17);
        edit->setRange(0, maximum);
        edit->setSteps(step, largerStep);
        edit->setValue(value);
        window.show();
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window))
            edit->lineEdit()->setFocus();
        edit->lineEdit()->selectAll();
    }
    void click(int direction) { QTest::mouseClick(direction > 0 ? edit->upButton() : edit->downButton(), Qt::LeftButton); }
};

class TestPlatformWidgets : public QObject
{
    Q_OBJECT

private slots:
    void display_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two decimals") << "#.#0" << 10.0 << "10.00";
        QTest::newRow("hash drops a lone zero") << "#.#0" << 0.0 << ".00";
        QTest::newRow("zero forces the digit") << "0.#0" << 0.5 << "0.50";
        QTest::newRow("negative fraction") << "#.#0" << -0.25 << "-.25";
        QTest::newRow("no minus on a shown zero") << "0.#0" << -0.001 << "0.00";
    }
    void display()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale::c());
        CWNumEdit edit;
        edit.setFormat(format);
        edit.setValue(value);
        QCOMPARE(edit.lineEdit()->text(), shown);
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QCOMPARE(edit.displayText(value), QString(shown).replace('.', ','));
    }

    void typing_data()
    {
        QTest::addColumn<bool>("dutch");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("taken");
        QTest::addColumn<int>("changes");
        QTest::newRow("point") << false << "12.5" << 12.5 << 1;
        QTest::newRow("comma under Dutch") << true << "12,5" << 12.5 << 1;
        QTest::newRow("point under Dutch") << true << "0.5" << 0.5 << 1;
        QTest::newRow("comma refused under C") << false << "12,5" << 125.0 << 1;
        QTest::newRow("above maximum kept") << false << "1.5" << 1.5 << 1;
        QTest::newRow("lone minus is no number") << false << "-" << 10.0 << 0;
        QTest::newRow("letters refused") << false << "abc" << 10.0 << 0;
        QTest::newRow("second separator refused") << false << "1.2.3" << 1.23 << 1;
    }
    void typing()
    {
        QFETCH(bool, dutch);
        QFETCH(QString, typed);
        QFETCH(double, taken);
        QFETCH(int, changes);
        QLocale::setDefault(dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c());
        Host host(10, 1, 0.1);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged);
        QTest::keyClicks(host.edit->lineEdit(), typed);
        QCOMPARE(host.edit->Value(), 10.0); // nothing is taken while typing
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_Return);
        QCOMPARE(host.edit->Value(), taken);
        QCOMPARE(changed.count(), changes);
        QCOMPARE(host.edit->lineEdit()->text(), host.edit->displayText(taken));
    }

    void stepping_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("clicks"); // > 0 up, < 0 down; bounds 0..1
        QTest::addColumn<double>("expected");
        QTest::newRow("tenths land on tenths") << 1.0 << 0.1 << -3 << 0.7;
        QTest::newRow("not above the maximum") << 0.5 << 1.0 << 2 << 1.0;
        QTest::newRow("not below the minimum") << 0.2 << 0.1 << -4 << 0.0;
        QTest::newRow("typed 1.5 steps back in") << 1.5 << 0.1 << -1 << 1.0;
    }
    void stepping()
    {
        QFETCH(double, value);
        QFETCH(double, step);
        QFETCH(int, clicks);
        QFETCH(double, expected);
        Host buttons(value, 1, step), keys(value, 1, step);
        for (int i = 0; i < std::abs(clicks); ++i) {
            buttons.click(clicks);
            QTest::keyClick(keys.edit->lineEdit(), clicks > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        QVERIFY(buttons.edit->Value() == expected && keys.edit->Value() == expected);
    }

    void heldButtonTakesTheLargerStep()
    {
        Host host(10, 10000, 1, 5);
        QTest::mousePress(host.edit->upButton(), Qt::LeftButton); // one step, then one more at the first repeat
        QTest::qWait(CWNumEdit::RepeatDelay + 4 * CWNumEdit::RepeatInterval);
        QTest::mouseRelease(host.edit->upButton(), Qt::LeftButton);
        const double larger = host.edit->Value() - 12;
        QTest::qWait(3 * CWNumEdit::RepeatInterval);
        QVERIFY2(larger >= 5 && std::fmod(larger, 5) == 0 && host.edit->Value() == larger + 12, qPrintable(QString::number(larger)));
    }

    void notifications()
    {
        QLocale::setDefault(QLocale::c());
        Host host(10, 100, 1);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged), typed(host.edit, &CWNumEdit::keyTyped),
            mouse(host.edit, &CWNumEdit::mouseButtonPressed);
        host.edit->setValue(10); // a program write counts, even of the same value
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_End); // moving the cursor types nothing
        QTest::keyClicks(host.edit->lineEdit(), QStringLiteral("5"));
        host.click(-1);
        QCOMPARE(QList<int>({int(changed.count()), int(typed.count()), int(mouse.count())}), QList<int>({3, 1, 1}));
        QCOMPARE(host.edit->Value(), 9.005); // the typed 10.005 was taken before the step
        double seenOnLeaving = 0;
        connect(host.edit, &CWNumEdit::focusLeft, this, [&] { seenOnLeaving = host.edit->Value(); });
        host.edit->lineEdit()->selectAll();
        QTest::keyClicks(host.edit->lineEdit(), QStringLiteral("42"));
        host.other->lineEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(seenOnLeaving, 42.0); // taken before focus left is told
    }

    void messageBox()
    {
        QString seen;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = QStringLiteral("%1|%2|%3|%4|%5").arg(box->windowTitle(), box->text()).arg(box->icon())
                           .arg(box->buttons().size()).arg(box->defaultButton()->text());
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        platform::QtMessageBox messageBox;
        const int style = platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2;
        QCOMPARE(messageBox.MsgBox(QStringLiteral("een\n\rtwee"), style, QStringLiteral("Vraag")), int(platform::vbNo));
        QCOMPARE(seen, QStringLiteral("Vraag|een\ntwee|%1|2|&No").arg(int(QMessageBox::Question)));
    }
};

QTEST_MAIN(TestPlatformWidgets)
#include "tst_platform_widgets.moc"
