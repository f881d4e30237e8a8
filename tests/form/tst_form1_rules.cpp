// The input rules: which notifications empty the result boxes, the three checks with
// their messages, the screen and indoor/outdoor switches, and the width moving y.

#include "cw_num_edit.h"
#include "form_fixture.h"

#include <QCheckBox>
#include <QComboBox>

// Notes each box with what x, xs and K showed behind it.
class SnapshotMessageBox : public platform::MessageBox
{
public:
    int MsgBox(const QString &prompt, int style, const QString &title) override
    {
        shown << QStringLiteral("%1|%2|%3|%4 %5 %6").arg(title).arg(style).arg(prompt, form->CWNumEdit4->lineEdit()->text(),
                     form->CWNumEdit6->lineEdit()->text(), form->CWNumEdit7->lineEdit()->text());
        return platform::vbOK;
    }
    Form1 *form = nullptr;
    QStringList shown;
};

struct Check
{
    bool screen;
    const char *left, *typed;
    double xs;
    QString boxes;
};
Q_DECLARE_METATYPE(Check)

class TestForm1Rules : public QObject
{
    Q_OBJECT

    SnapshotMessageBox m_messages;
    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }
    CWNumEdit *input(const QString &name) { return form().findChild<CWNumEdit *>(name); }
    void click(const QString &box) { QTest::mouseClick(form().findChild<QCheckBox *>(box), Qt::LeftButton, {}, QPoint(8, 8)); }

private slots:
    void init()
    {
        m_messages.shown.clear();
        m_fixture = std::make_unique<FormFixture>(false, FormServices{&m_messages, nullptr, {}});
        m_messages.form = m_fixture->form.get();
    }
    void cleanup() { QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog"); }

    void clearing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("clearedBy"); // of: value (changed), typed, mouse (button)
        QTest::newRow("B: its new y clears") << "CWNumEdit1" << "value typed mouse";
        QTest::newRow("D") << "CWNumEdit2" << "value typed";
        QTest::newRow("H") << "CWNumEdit3" << "value typed";
        QTest::newRow("x") << "CWNumEdit4" << "value typed";
        QTest::newRow("hs") << "CWNumEdit5" << "value typed mouse";
        QTest::newRow("xs") << "CWNumEdit6" << "typed mouse";
        QTest::newRow("K") << "CWNumEdit7" << "typed mouse";
        QTest::newRow("point 4") << "CWNumEdit8(3)" << "value typed";
        QTest::newRow("y") << "CWNumEdit9" << "value typed";
        QTest::newRow("options") << "Check1 Check2 Check3 Combo1" << "Check2 Combo1";
    }
    void clearing()
    {
        QFETCH(QString, control);
        QFETCH(QString, clearedBy);
        click(QStringLiteral("Check1")); // so that hs, xs and K can be worked
        const bool options = control.startsWith(QLatin1String("Check"));
        QStringList cleared;
        for (const QString &action : options ? control.split(' ') : QStringList{"value", "typed", "mouse"}) {
            for (QLineEdit *result : form().Text2)
                result->setText(QStringLiteral("9"));
            if (action == QLatin1String("Combo1"))
                QTest::keyClicks(form().Combo1->lineEdit(), QStringLiteral("x"));
            else if (options)
                click(action);
            else if (action == QLatin1String("value"))
                input(control)->setValue(input(control)->Value() + 0.5);
            else if (action == QLatin1String("typed"))
                QTest::keyClick(input(control)->lineEdit(), Qt::Key_Backspace);
            else
                QTest::mouseClick(input(control)->lineEdit(), Qt::LeftButton);
            if (m_fixture->results() == QLatin1String("    "))
                cleared << action;
            else // all five boxes or none
                QCOMPARE(m_fixture->results(), QStringLiteral("9 9 9 9 9"));
        }
        QCOMPARE(cleared.join(' '), clearedBy);
        QVERIFY(m_messages.shown.isEmpty());
    }

    // Each check on leaving its input, with the value typed in and Tab pressed; the box
    // shows x, xs and K as they are behind it.
    void checks_data()
    {
        QTest::addColumn<Check>("check");
        const QString x = "Invoerfout|64|De afstand van de opslag tot het beoordelingspunt\n\ris kleiner dan de afstand tot de afscherming|";
        const QString xs = "Invoerfout|64|De afstand tussen het scherm en de opslag \n\ris te groot|";
        const QString k = "Invoerfout|64|De efficiency van het scherm is een getal\n\rtussen 0 en 1|";
        QTest::newRow("x before the screen") << Check{true, "CWNumEdit4", "5", 8, x + "8.00 8.00 1.00"};
        QTest::newRow("x before the screen, no screen") << Check{false, "CWNumEdit4", "5", 8, ""};
        QTest::newRow("xs beyond x") << Check{true, "CWNumEdit6", "8", 0, xs + "5.00 5.00 1.00"};
        QTest::newRow("xs equal to x") << Check{true, "CWNumEdit6", "5", 0, ""};
        QTest::newRow("K above 1") << Check{true, "CWNumEdit7", "1.5", 0, k + "5.00 .00 1.00"};
        QTest::newRow("K of 1") << Check{true, "CWNumEdit7", "1", 0, ""};
        QTest::newRow("screen switched on, xs beyond x") << Check{false, "Check1", "", 8, x + "5.00 5.00 1.00"};
    }
    void checks()
    {
        QFETCH(Check, check);
        if (check.screen)
            click(QStringLiteral("Check1"));
        form().CWNumEdit6->setValue(check.xs);
        if (CWNumEdit *left = input(check.left)) {
            left->lineEdit()->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(left->lineEdit(), check.typed);
            QTest::keyClick(left->lineEdit(), Qt::Key_Tab);
            if (check.boxes.isEmpty())
                QCOMPARE(left->Value(), QByteArray(check.typed).toDouble());
        } else {
            click(check.left);
        }
        QCOMPARE(m_messages.shown.join('\n'), check.boxes);
        QCOMPARE(form().CWNumEdit7->isEnabled(), check.screen || !input(check.left));
    }

    void switches_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("enabled"); // of hs/xs/K, Check1/Check2, points 2-5
        QTest::newRow("start") << "" << "off on on";
        QTest::newRow("screen on") << "Check1" << "on on on";
        QTest::newRow("screen on and off") << "Check1 Check1" << "off on on";
        QTest::newRow("indoor") << "Check3" << "off off off";
        QTest::newRow("indoor with screen") << "Check1 Check3" << "off off off";
        QTest::newRow("outdoor again, screen on") << "Check1 Check3 Check3" << "on on on";
        QTest::newRow("outdoor again, screen off") << "Check3 Check3" << "off on on";
    }
    void switches()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, enabled);
        form().CWNumEdit5->setValue(3);
        for (const QString &name : clicks.split(' ', Qt::SkipEmptyParts))
            click(name);
        const auto on = [](std::initializer_list<QWidget *> group) {
            const auto enabled = std::count_if(group.begin(), group.end(), [](QWidget *w) { return w->isEnabled(); });
            return enabled == 0 ? "off" : enabled == qsizetype(group.size()) ? "on" : "mixed";
        };
        Form1 &f = form();
        QCOMPARE(QStringList({on({f.CWNumEdit5, f.CWNumEdit6, f.CWNumEdit7}), on({f.Check1, f.Check2}),
                              on({f.CWNumEdit8[1], f.CWNumEdit8[2], f.CWNumEdit8[3], f.CWNumEdit8[4]})}).join(' '), enabled);
        QCOMPARE(on({f.CWNumEdit1, f.CWNumEdit2, f.CWNumEdit3, f.CWNumEdit4, f.CWNumEdit9, f.CWNumEdit8[0]}), "on");
        // Switches change no values and keep the check marks of disabled boxes.
        QCOMPARE(form().CWNumEdit5->Value(), 3.0);
        QCOMPARE(form().Check1->isChecked(), clicks.count(QStringLiteral("Check1")) % 2 == 1);
    }

    // A new width, typed below its minimum even, puts y in the middle of the side.
    void widthMovesThePoint()
    {
        form().CWNumEdit9->setValue(-20);
        QTest::keyClicks(form().CWNumEdit1->lineEdit(), QStringLiteral("7"));
        QTest::keyClick(form().CWNumEdit1->lineEdit(), Qt::Key_Return);
        QCOMPARE(form().CWNumEdit9->Value(), 3.5);
        form().CWNumEdit1->setValue(1);
        QCOMPARE(form().CWNumEdit9->Value(), 0.5);
    }
};

QTEST_MAIN(TestForm1Rules)
#include "tst_form1_rules.moc"
