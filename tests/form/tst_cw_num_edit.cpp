// The numeric input on its own: display formats, typed text, stepping within the
// bounds, the larger step of a held button and the four notifications.

#include "cw_num_edit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using platform::CWNumEdit;

class TestCWNumEdit : public QObject
{
    Q_OBJECT

private:
    // Two inputs in a shown window, so that focus can leave the first one.
    struct Host
    {
        QWidget window;
        CWNumEdit *edit = new CWNumEdit(&window);
        CWNumEdit *other = new CWNumEdit(&window);
        Host(double value, double minimum, double maximum, double step, double largerStep)
        {
            window.resize(200, 60);
            edit->setGeometry(10, 10, 41, 17);
            other->setGeometry(10, 35, 41, 17);
            edit->setRange(minimum, maximum);
            edit->setSteps(step, largerStep);
            edit->setValue(value);
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            edit->lineEdit()->setFocus(Qt::TabFocusReason);
        }
    };

    static void typeOver(CWNumEdit *edit, const QString &text)
    {
        edit->lineEdit()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit->lineEdit(), Qt::Key_Backspace);
        QTest::keyClicks(edit->lineEdit(), text);
    }

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
        QTest::newRow("hash below one") << "#.#0" << 0.5 << "C" << ".50";
        QTest::newRow("negative fraction") << "#.#0" << -0.25 << "C" << "-.25";
        QTest::newRow("negative whole") << "#.#0" << -100.0 << "C" << "-100.00";
        QTest::newRow("hidden decimals") << "#.#0" << 4.000005 << "C" << "4.00";
        QTest::newRow("no minus on a shown zero") << "0.#0" << -0.001 << "C" << "0.00";
        QTest::newRow("decimal comma") << "0.#0" << 2.5 << "nl_NL" << "2,50";
        QTest::newRow("no group separator") << "#.#0" << 10000.0 << "nl_NL" << "10000,00";
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
        edit.setRange(-1000, 100000);
        edit.setValue(value);
        QCOMPARE(edit.lineEdit()->text(), shown);
        QCOMPARE(edit.Value(), value);
    }

    void typing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<double>("taken");
        QTest::addColumn<int>("changes");
        QTest::newRow("point, Enter") << "C" << "12.5" << true << 12.5 << 1;
        QTest::newRow("point, leaving") << "C" << "12.5" << false << 12.5 << 1;
        QTest::newRow("comma under Dutch") << "nl_NL" << "12,5" << true << 12.5 << 1;
        QTest::newRow("point under Dutch") << "nl_NL" << "12.5" << false << 12.5 << 1;
        QTest::newRow("comma refused under C") << "C" << "12,5" << true << 125.0 << 1;
        QTest::newRow("above maximum kept") << "C" << "1.5" << false << 1.5 << 1;
        QTest::newRow("below minimum kept") << "C" << "-3" << true << -3.0 << 1;
        QTest::newRow("leading separator") << "C" << ".5" << true << 0.5 << 1;
        QTest::newRow("same number, other text") << "C" << "10" << true << 10.0 << 0;
        QTest::newRow("lone minus is no number") << "C" << "-" << true << 10.0 << 0;
        QTest::newRow("lone separator is no number") << "nl_NL" << "," << false << 10.0 << 0;
        QTest::newRow("empty is no number") << "C" << "" << false << 10.0 << 0;
        QTest::newRow("letters are refused") << "C" << "abc" << true << 10.0 << 0;
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

        typeOver(host.edit, typed);
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
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("clicks"); // > 0 up, < 0 down
        QTest::addColumn<double>("expected");
        QTest::newRow("K stays at 1") << 1.0 << 0.0 << 1.0 << 0.1 << 1 << 1.0;
        QTest::newRow("K in tenths") << 1.0 << 0.0 << 1.0 << 0.1 << -3 << 0.7;
        QTest::newRow("K not below 0") << 0.2 << 0.0 << 1.0 << 0.1 << -4 << 0.0;
        QTest::newRow("x not below 5") << 5.0 << 5.0 << 10000.0 << 1.0 << -1 << 5.0;
        QTest::newRow("H not above 15") << 14.0 << 0.0 << 15.0 << 1.0 << 3 << 15.0;
        QTest::newRow("y down to -100") << -98.5 << -100.0 << 10000.0 << 1.0 << -3 << -100.0;
        QTest::newRow("typed K 1.5 steps back in") << 1.5 << 0.0 << 1.0 << 0.1 << -1 << 1.0;
    }
    void stepping()
    {
        QFETCH(double, value);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(double, step);
        QFETCH(int, clicks);
        QFETCH(double, expected);
        QLocale::setDefault(QLocale::c());
        for (const bool byKeys : {false, true}) {
            Host host(value, minimum, maximum, step, step);
            for (int i = 0; i < std::abs(clicks); ++i) {
                if (byKeys) {
                    QTest::keyClick(host.edit->lineEdit(), clicks > 0 ? Qt::Key_Up : Qt::Key_Down);
                } else {
                    QWidget *button = clicks > 0 ? static_cast<QWidget *>(host.edit->upButton())
                                                 : static_cast<QWidget *>(host.edit->downButton());
                    QTest::mouseClick(button, Qt::LeftButton);
                }
            }
            QVERIFY2(host.edit->Value() == expected,
                     qPrintable(QStringLiteral("%1 by %2").arg(host.edit->Value()).arg(byKeys ? "keys" : "buttons")));
        }
    }

    void heldButtonTakesTheLargerStep()
    {
        QLocale::setDefault(QLocale::c());
        Host host(10, 0, 10000, 1, 5);
        QTest::mousePress(host.edit->upButton(), Qt::LeftButton);
        QCOMPARE(host.edit->Value(), 11.0); // the press itself: one step
        QTest::qWait(CWNumEdit::RepeatDelay + 4 * CWNumEdit::RepeatInterval);
        QTest::mouseRelease(host.edit->upButton(), Qt::LeftButton);
        const double afterFirstRepeat = host.edit->Value() - 12; // first repeat: one step
        QVERIFY2(afterFirstRepeat >= 5 && std::fmod(afterFirstRepeat, 5) == 0,
                 qPrintable(QString::number(host.edit->Value())));
        const double released = host.edit->Value();
        QTest::qWait(3 * CWNumEdit::RepeatInterval);
        QCOMPARE(host.edit->Value(), released); // letting go stops the repeat
    }

    void notifications()
    {
        QLocale::setDefault(QLocale::c());
        Host host(10, 0, 100, 1, 5);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged);
        QSignalSpy typed(host.edit, &CWNumEdit::keyTyped);
        QSignalSpy mouse(host.edit, &CWNumEdit::mouseButtonPressed);
        QSignalSpy left(host.edit, &CWNumEdit::focusLeft);

        host.edit->setValue(10); // a program write counts, even of the same value
        QCOMPARE(changed.count(), 1);

        QTest::keyClick(host.edit->lineEdit(), Qt::Key_End);
        QCOMPARE(typed.count(), 0); // moving the cursor types nothing
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_5);
        QCOMPARE(typed.count(), 2);
        QCOMPARE(changed.count(), 1);

        QTest::mouseClick(host.edit->lineEdit(), Qt::LeftButton);
        QCOMPARE(mouse.count(), 1);
        QTest::mouseClick(host.edit->downButton(), Qt::LeftButton);
        QCOMPARE(mouse.count(), 2);
        // The typed 10.05 was taken before the step.
        QCOMPARE(host.edit->Value(), 9.05);
        QCOMPARE(changed.count(), 3);

        // The value is taken before focus left is told.
        double seenOnLeaving = 0;
        connect(host.edit, &CWNumEdit::focusLeft, this, [&] { seenOnLeaving = host.edit->Value(); });
        typeOver(host.edit, QStringLiteral("42"));
        host.other->lineEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(left.count(), 1);
        QCOMPARE(seenOnLeaving, 42.0);
    }
};

QTEST_MAIN(TestCWNumEdit)
#include "tst_cw_num_edit.moc"
