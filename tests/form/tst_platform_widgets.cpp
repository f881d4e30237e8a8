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

// Two inputs in a shown window, so that the focus can leave the first one.
struct Host
{
    QWidget window;
    CWNumEdit *edit = new CWNumEdit(&window);
    CWNumEdit *other = new CWNumEdit(&window);
    Host(double value, double minimum, double maximum, double step, double largerStep)
    {
        edit->setGeometry(10, 10, 41, 17);
        other->setGeometry(10, 35, 41, 17);
        edit->setRange(minimum, maximum);
        edit->setSteps(step, largerStep);
        edit->setValue(value);
        window.show();
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window))
            edit->lineEdit()->setFocus(Qt::TabFocusReason);
        edit->lineEdit()->selectAll();
    }
};

class TestPlatformWidgets : public QObject
{
    Q_OBJECT

private slots:
    void display_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two decimals") << "#.#0" << 10.0 << "C" << "10.00";
        QTest::newRow("hash drops a lone zero") << "#.#0" << 0.0 << "C" << ".00";
        QTest::newRow("zero forces the digit") << "0.#0" << 0.5 << "C" << "0.50";
        QTest::newRow("negative fraction") << "#.#0" << -0.25 << "C" << "-.25";
        QTest::newRow("no minus on a shown zero") << "0.#0" << -0.001 << "C" << "0.00";
        QTest::newRow("comma, no grouping") << "0.#0" << 10000.5 << "nl_NL" << "10000,50";
    }
    void display()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        CWNumEdit edit;
        edit.setFormat(format);
        edit.setValue(value);
        QCOMPARE(edit.lineEdit()->text(), shown);
        QCOMPARE(edit.Value(), value);
    }

    void typing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter"); // else by leaving the field
        QTest::addColumn<double>("taken");
        QTest::addColumn<int>("changes");
        QTest::newRow("point, Enter") << "C" << "12.5" << true << 12.5 << 1;
        QTest::newRow("comma under Dutch, leaving") << "nl_NL" << "12,5" << false << 12.5 << 1;
        QTest::newRow("comma refused under C") << "C" << "12,5" << true << 125.0 << 1;
        QTest::newRow("above maximum kept") << "C" << "1.5" << false << 1.5 << 1;
        QTest::newRow("below minimum kept") << "C" << "-3" << true << -3.0 << 1;
        QTest::newRow("same number, other text") << "C" << "10" << true << 10.0 << 0;
        QTest::newRow("lone minus is no number") << "C" << "-" << true << 10.0 << 0;
        QTest::newRow("letters refused") << "C" << "abc" << true << 10.0 << 0;
        QTest::newRow("second separator refused") << "C" << "1.2.3" << true << 1.23 << 1;
    }
    void typing()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(double, taken);
        QFETCH(int, changes);
        QLocale::setDefault(QLocale(locale));
        Host host(10, 0, 1, 0.1, 0.1);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged);
        QTest::keyClicks(host.edit->lineEdit(), typed);
        QCOMPARE(host.edit->Value(), 10.0); // nothing is taken while typing
        if (byEnter)
            QTest::keyClick(host.edit->lineEdit(), Qt::Key_Return);
        else
            host.other->lineEdit()->setFocus(Qt::TabFocusReason);
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
        QLocale::setDefault(QLocale::c());
        for (const bool byKeys : {false, true}) {
            Host host(value, 0, 1, step, step);
            for (int i = 0; i < std::abs(clicks); ++i) {
                if (byKeys)
                    QTest::keyClick(host.edit->lineEdit(), clicks > 0 ? Qt::Key_Up : Qt::Key_Down);
                else
                    QTest::mouseClick(clicks > 0 ? static_cast<QWidget *>(host.edit->upButton())
                                                 : static_cast<QWidget *>(host.edit->downButton()),
                                      Qt::LeftButton);
            }
            QVERIFY2(host.edit->Value() == expected, byKeys ? "by keys" : "by buttons");
        }
    }

    void heldButtonTakesTheLargerStep()
    {
        Host host(10, 0, 10000, 1, 5);
        QTest::mousePress(host.edit->upButton(), Qt::LeftButton);
        QCOMPARE(host.edit->Value(), 11.0); // the press itself: one step
        QTest::qWait(CWNumEdit::RepeatDelay + 4 * CWNumEdit::RepeatInterval);
        QTest::mouseRelease(host.edit->upButton(), Qt::LeftButton);
        const double released = host.edit->Value(), larger = released - 12; // first repeat: one step
        QVERIFY2(larger >= 5 && std::fmod(larger, 5) == 0, qPrintable(QString::number(released)));
        QTest::qWait(3 * CWNumEdit::RepeatInterval);
        QCOMPARE(host.edit->Value(), released);
    }

    void notifications()
    {
        QLocale::setDefault(QLocale::c());
        Host host(10, 0, 100, 1, 5);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged);
        QSignalSpy typed(host.edit, &CWNumEdit::keyTyped);
        QSignalSpy mouse(host.edit, &CWNumEdit::mouseButtonPressed);
        host.edit->setValue(10); // a program write counts, even of the same value
        QCOMPARE(changed.count(), 1);
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_End); // moving the cursor types nothing
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_5);
        QCOMPARE(typed.count(), 2);
        QTest::mouseClick(host.edit->downButton(), Qt::LeftButton);
        QCOMPARE(mouse.count(), 1);
        QCOMPARE(host.edit->Value(), 9.05); // the typed 10.05 was taken before the step
        double seenOnLeaving = 0;
        connect(host.edit, &CWNumEdit::focusLeft, this, [&] { seenOnLeaving = host.edit->Value(); });
        host.edit->lineEdit()->selectAll();
        QTest::keyClicks(host.edit->lineEdit(), QStringLiteral("42"));
        host.other->lineEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(seenOnLeaving, 42.0); // taken before focus left is told
    }

    void messageBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<int>("answer"); // to Enter
        QTest::newRow("input error") << int(platform::vbInformation) << int(QMessageBox::Information)
                                     << "OK" << int(platform::vbOK);
        QTest::newRow("question, second default")
            << int(platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2)
            << int(QMessageBox::Question) << "&No" << int(platform::vbNo);
    }
    void messageBox()
    {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(QString, defaultButton);
        QFETCH(int, answer);
        QString seen;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = QStringLiteral("%1|%2|%3|%4").arg(box->windowTitle(), box->text()).arg(box->icon())
                           .arg(box->defaultButton()->text());
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        platform::QtMessageBox messageBox;
        QCOMPARE(messageBox.MsgBox(QStringLiteral("een\n\rtwee"), style, QStringLiteral("Invoerfout")), answer);
        QCOMPARE(seen, QStringLiteral("Invoerfout|een\ntwee|%1|%2").arg(icon).arg(defaultButton));
    }
};

QTEST_MAIN(TestPlatformWidgets)
#include "tst_platform_widgets.moc"
