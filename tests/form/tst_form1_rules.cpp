// The input rules: which notifications empty the result boxes, the three checks with
// their messages, the screen and indoor/outdoor switches, and the width moving y.

#include "cw_num_edit.h"
#include "form_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

const QString PointMessage = QStringLiteral(
    "De afstand van de opslag tot het beoordelingspunt\n\ris kleiner dan de afstand tot de afscherming");
const QString ScreenMessage = QStringLiteral("De afstand tussen het scherm en de opslag \n\ris te groot");
const QString EfficiencyMessage = QStringLiteral("De efficiency van het scherm is een getal\n\rtussen 0 en 1");

// Notes, with each box, what x, xs and K showed behind it.
class SnapshotMessageBox : public platform::MessageBox
{
public:
    int MsgBox(const QString &prompt, int style, const QString &title) override
    {
        shown << QStringLiteral("%1|%2|%3|x=%4 xs=%5 K=%6")
                     .arg(title)
                     .arg(style)
                     .arg(prompt, form->CWNumEdit4->lineEdit()->text(),
                          form->CWNumEdit6->lineEdit()->text(), form->CWNumEdit7->lineEdit()->text());
        return platform::vbOK;
    }
    Form1 *form = nullptr;
    QStringList shown;
};

QString box(const QString &prompt, const QString &fields)
{
    return QStringLiteral("Invoerfout|64|%1|%2").arg(prompt, fields);
}

} // namespace

class TestForm1Rules : public QObject
{
    Q_OBJECT

private:
    SnapshotMessageBox m_messages;
    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

    void click(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }
    CWNumEdit *input(const QString &name) { return form().findChild<CWNumEdit *>(name); }

private slots:
    void init()
    {
        m_messages.shown.clear();
        m_fixture = std::make_unique<FormFixture>(QLocale::C, QLocale::AnyTerritory, &m_messages);
        m_messages.form = m_fixture->form.get();
        QVERIFY(m_fixture->show());
    }
    void cleanup()
    {
        QVERIFY2(m_fixture->guard.unexpected().isEmpty(),
                 qPrintable(m_fixture->guard.unexpected().join('\n')));
        m_fixture.reset();
    }

    void clearing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("clears");
        const struct { const char *control; bool value, typed, mouse; } table[] = {
            {"CWNumEdit1", true, true, true},     // B: its new y clears
            {"CWNumEdit2", true, true, false},    // D
            {"CWNumEdit3", true, true, false},    // H
            {"CWNumEdit4", true, true, false},    // x
            {"CWNumEdit5", true, true, true},     // hs
            {"CWNumEdit6", false, true, true},    // xs
            {"CWNumEdit7", false, true, true},    // K
            {"CWNumEdit8(0)", true, true, false}, // heights
            {"CWNumEdit8(3)", true, true, false},
            {"CWNumEdit9", true, true, false},    // y
        };
        for (const auto &row : table) {
            QTest::addRow("%s value", row.control) << row.control << "value" << row.value;
            QTest::addRow("%s typed", row.control) << row.control << "typed" << row.typed;
            QTest::addRow("%s mouse", row.control) << row.control << "mouse" << row.mouse;
        }
        QTest::newRow("Check2 clicked") << "Check2" << "click" << true;
        QTest::newRow("Check1 clicked") << "Check1" << "click" << false;
        QTest::newRow("Check3 clicked") << "Check3" << "click" << false;
        QTest::newRow("Combo1 typed") << "Combo1" << "typed" << true;
    }
    void clearing()
    {
        QFETCH(QString, control);
        QFETCH(QString, action);
        QFETCH(bool, clears);
        click(form().Check1); // so that hs, xs and K can be worked
        for (int i = 0; i < 5; ++i)
            form().Text2[i]->setText(QString::number(i + 1));

        if (auto *check = form().findChild<QCheckBox *>(control)) {
            click(check);
        } else if (control == QLatin1String("Combo1")) {
            QTest::keyClicks(form().Combo1->lineEdit(), QStringLiteral("x"));
        } else if (action == QLatin1String("value")) {
            input(control)->setValue(input(control)->Value() + 0.5);
        } else if (action == QLatin1String("typed")) {
            input(control)->lineEdit()->setFocus();
            QTest::keyClick(input(control)->lineEdit(), Qt::Key_Backspace);
        } else {
            QTest::mouseClick(input(control)->lineEdit(), Qt::LeftButton);
        }

        const QStringList expected = clears ? QStringList{"", "", "", "", ""}
                                            : QStringList{"1", "2", "3", "4", "5"};
        QStringList shown;
        for (QLineEdit *result : form().Text2)
            shown << result->text();
        QCOMPARE(shown, expected);
        QVERIFY(m_messages.shown.isEmpty());
    }

    // Each check on leaving its input, with the value typed in and Tab pressed.
    void checks_data()
    {
        QTest::addColumn<bool>("screen");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("xs");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("x before the screen") << true << "CWNumEdit4" << "5" << 5.0 << 8.0
            << QStringList{box(PointMessage, "x=8.00 xs=8.00 K=1.00")};
        QTest::newRow("x before the screen, no screen") << false << "CWNumEdit4" << "5" << 5.0 << 8.0
            << QStringList{};
        QTest::newRow("xs beyond x") << true << "CWNumEdit6" << "8" << 5.0 << 8.0
            << QStringList{box(ScreenMessage, "x=5.00 xs=5.00 K=1.00")};
        QTest::newRow("xs equal to x") << true << "CWNumEdit6" << "6" << 6.0 << 6.0 << QStringList{};
        QTest::newRow("K above 1") << true << "CWNumEdit7" << "1.5" << 5.0 << 0.0
            << QStringList{box(EfficiencyMessage, "x=5.00 xs=.00 K=1.00")};
        QTest::newRow("K of 1") << true << "CWNumEdit7" << "1" << 5.0 << 0.0 << QStringList{};
    }
    void checks()
    {
        QFETCH(bool, screen);
        QFETCH(QString, left);
        QFETCH(QString, typed);
        QFETCH(double, x);
        QFETCH(double, xs);
        QFETCH(QStringList, boxes);
        if (screen)
            click(form().Check1);
        form().CWNumEdit4->setValue(x);
        form().CWNumEdit6->setValue(xs);
        QVERIFY(m_messages.shown.isEmpty());

        input(left)->lineEdit()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(input(left)->lineEdit(), typed);
        QTest::keyClick(input(left)->lineEdit(), Qt::Key_Tab);

        QCOMPARE(m_messages.shown, boxes);
        QVERIFY(form().CWNumEdit7->isEnabled() == screen);
        if (boxes.isEmpty())
            QCOMPARE(input(left)->Value(), typed.toDouble());
    }

    // Switching the screen on pulls xs back to x, with the message of x.
    void screenSwitchCorrectsScreenDistance()
    {
        form().CWNumEdit4->setValue(5);
        form().CWNumEdit6->setValue(8);
        click(form().Check1);
        QCOMPARE(form().CWNumEdit6->Value(), 5.0);
        QCOMPARE(m_messages.shown, QStringList{box(PointMessage, "x=5.00 xs=5.00 K=1.00")});
    }

    void switches_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("screenInputs"); // hs, xs, K
        QTest::addColumn<bool>("options");      // Check1, Check2
        QTest::addColumn<bool>("otherPoints");  // heights of points 2 to 5
        QTest::newRow("start") << QStringList{} << false << true << true;
        QTest::newRow("screen on") << QStringList{"Check1"} << true << true << true;
        QTest::newRow("screen on and off") << QStringList{"Check1", "Check1"} << false << true << true;
        QTest::newRow("indoor") << QStringList{"Check3"} << false << false << false;
        QTest::newRow("indoor with screen") << QStringList{"Check1", "Check3"} << false << false << false;
        QTest::newRow("outdoor again, screen on")
            << QStringList{"Check1", "Check3", "Check3"} << true << true << true;
        QTest::newRow("outdoor again, screen off") << QStringList{"Check3", "Check3"} << false << true << true;
    }
    void switches()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, screenInputs);
        QFETCH(bool, options);
        QFETCH(bool, otherPoints);
        form().CWNumEdit5->setValue(3);
        for (const QString &name : clicks)
            click(form().findChild<QCheckBox *>(name));

        for (CWNumEdit *screenInput : {form().CWNumEdit5, form().CWNumEdit6, form().CWNumEdit7})
            QCOMPARE(screenInput->isEnabled(), screenInputs);
        QCOMPARE(form().Check1->isEnabled(), options);
        QCOMPARE(form().Check2->isEnabled(), options);
        for (int i = 1; i < 5; ++i)
            QCOMPARE(form().CWNumEdit8[i]->isEnabled(), otherPoints);
        for (CWNumEdit *always : {form().CWNumEdit1, form().CWNumEdit2, form().CWNumEdit3,
                                  form().CWNumEdit4, form().CWNumEdit9, form().CWNumEdit8[0]})
            QVERIFY(always->isEnabled());
        // Switches change no values and keep the check marks of disabled boxes.
        QCOMPARE(form().CWNumEdit5->Value(), 3.0);
        QCOMPARE(form().Check1->isChecked(), clicks.count(QStringLiteral("Check1")) % 2 == 1);
    }

    void widthMovesThePoint_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("y");
        QTest::newRow("30") << "30" << 15.0;
        QTest::newRow("odd width") << "7" << 3.5;
        QTest::newRow("below the minimum") << "1" << 0.5;
    }
    void widthMovesThePoint()
    {
        QFETCH(QString, typed);
        QFETCH(double, y);
        form().CWNumEdit9->setValue(-20);
        form().CWNumEdit1->lineEdit()->selectAll();
        QTest::keyClicks(form().CWNumEdit1->lineEdit(), typed);
        QTest::keyClick(form().CWNumEdit1->lineEdit(), Qt::Key_Return);
        QCOMPARE(form().CWNumEdit9->Value(), y);
    }
};

QTEST_MAIN(TestForm1Rules)
#include "tst_form1_rules.moc"
