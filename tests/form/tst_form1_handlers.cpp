// The window's handlers worked step by step as a user works them: which notifications
// empty the result boxes, the three checks, the switches, the width; "Bereken", "Print";
// and the message box the window really shows.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "qt_message_box.h"
#include "recording_printer.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

// One thing a user does to a control, found by its name.
struct Step
{
    enum Kind { Click, Write, TypeAndLeave, TypeKey, ClickField } kind;
    QString control;
    QString typed;
    double written = 0;
};

Step click(const char *control)
{
    return {Step::Click, control};
}
// A value written by the program, as the rules and the calculation write them.
Step write(const char *control, double value)
{
    return {Step::Write, control, {}, value};
}
// Typed into the field, then left with Tab.
Step typeAndLeave(const char *control, const char *text)
{
    return {Step::TypeAndLeave, control, text};
}
Step typeKey(const char *control)
{
    return {Step::TypeKey, control};
}
Step clickField(const char *control)
{
    return {Step::ClickField, control};
}

void perform(Form1 &form, const Step &step)
{
    auto *control = form.findChild<QWidget *>(step.control);
    QVERIFY2(control, qPrintable("no control named " + step.control));
    auto *edit = qobject_cast<CWNumEdit *>(control);
    QLineEdit *field = edit ? edit->lineEdit() : control->findChild<QLineEdit *>();
    QVERIFY2(step.kind == Step::Click || field, qPrintable(step.control + " has no field"));
    switch (step.kind) {
    case Step::Click:
        FormFixture::click(control);
        break;
    case Step::Write:
        QVERIFY2(edit, qPrintable(step.control + " is no numeric input"));
        edit->setValue(step.written);
        break;
    case Step::TypeAndLeave:
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, step.typed + '\t');
        break;
    case Step::TypeKey:
        QTest::keyClick(field, Qt::Key_1);
        break;
    case Step::ClickField:
        QTest::mouseClick(field, Qt::LeftButton);
        break;
    }
}

enum class Enabled { No, Yes, Partly };

// What the input rules act on: the two switchable groups, the screen's mark, x, xs, K and y as shown.
struct RulesState
{
    Enabled screenInputs;   // hs, xs, K
    Enabled outdoorOptions; // Check1, Check2, points 2 to 5
    bool screenChecked;
    QString x;
    QString xs;
    QString K;
    QString y;
    bool operator==(const RulesState &o) const
    {
        return screenInputs == o.screenInputs && outdoorOptions == o.outdoorOptions
            && screenChecked == o.screenChecked && x == o.x && xs == o.xs && K == o.K && y == o.y;
    }
};

char *toString(const RulesState &s)
{
    const char *names[] = {"off", "on", "partly on"};
    return QTest::toString(
        QStringLiteral("screen inputs %1, outdoor options %2, screen %3, x %4 xs %5 K %6 y %7")
            .arg(names[int(s.screenInputs)], names[int(s.outdoorOptions)],
                 s.screenChecked ? "checked" : "unchecked", s.x, s.xs, s.K, s.y));
}

Enabled enabled(const QList<QWidget *> &group)
{
    const auto on = std::count_if(group.cbegin(), group.cend(), [](QWidget *w) { return w->isEnabled(); });
    return on == 0 ? Enabled::No : on == group.size() ? Enabled::Yes : Enabled::Partly;
}

RulesState rulesState(const Form1 &f)
{
    return {enabled({f.CWNumEdit5, f.CWNumEdit6, f.CWNumEdit7}),
            enabled({f.Check1, f.Check2, f.CWNumEdit8[1], f.CWNumEdit8[2], f.CWNumEdit8[3], f.CWNumEdit8[4]}),
            f.Check1->isChecked(),
            f.CWNumEdit4->lineEdit()->text(),
            f.CWNumEdit6->lineEdit()->text(),
            f.CWNumEdit7->lineEdit()->text(),
            f.CWNumEdit9->lineEdit()->text()};
}

// Presses a button of the message box that opens next (Escape for NoButton) and notes what it showed.
struct BoxAnswer
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;

    explicit BoxAnswer(QMessageBox::StandardButton press)
    {
        m_timer.callOnTimeout(&m_timer, [this, press] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_timer.stop();
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            if (press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(press)->click();
        });
        m_timer.start(10);
    }

private:
    QTimer m_timer;
};

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(RulesState)

class TestForm1Handlers : public QObject
{
    Q_OBJECT

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

private slots:
    void init()
    {
        m_fixture = std::make_unique<FormFixture>();
        m_fixture->messageBox.behind = [this] {
            const RulesState s = rulesState(form());
            return " | x " + s.x + " xs " + s.xs + " K " + s.K; // what the user sees behind the box
        };
    }
    void cleanup()
    {
        if (m_fixture)
            QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog");
    }

    // Each step finds stale results in all five boxes: it empties all of them or none.
    void clearing_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<bool>>("empties");
        const auto input = [](const char *name, double value, bool onValue, bool onMouse) {
            QTest::newRow(name) << QList<Step> {write(name, value), typeKey(name), clickField(name)}
                                << QList<bool> {onValue, true, onMouse};
        };
        input("CWNumEdit1", 11, true, true); // by the change of y it causes
        input("CWNumEdit2", 11, true, false);
        input("CWNumEdit3", 9, true, false);
        input("CWNumEdit4", 6, true, false);
        input("CWNumEdit5", 1, true, true);
        input("CWNumEdit6", 1, false, true);
        input("CWNumEdit7", 0.5, false, true);
        input("CWNumEdit8(3)", 11, true, false);
        input("CWNumEdit9", 6, true, false);
        QTest::newRow("options") << QList<Step> {click("Check1"), click("Check2"), click("Check3"),
                                                 typeKey("Combo1")}
                                 << QList<bool> {false, true, false, true};
    }
    void clearing()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QList<bool>, empties);
        perform(form(), click("Check1")); // so that hs, xs and K can be worked
        QList<bool> seen;
        for (const Step &step : steps) {
            for (QLineEdit *box : form().Text2)
                box->setText(QStringLiteral("9"));
            perform(form(), step);
            if (QTest::currentTestFailed())
                return;
            const QString results = m_fixture->results();
            QVERIFY2(results == "    " || results == "9 9 9 9 9", qPrintable(step.control + ": " + results));
            seen << (results == "    ");
        }
        QCOMPARE(seen, empties);
        QVERIFY(m_fixture->messageBox.shown.isEmpty());
    }

    void rules_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QStringList>("boxes"); // with x, xs and K behind them: corrected already
        QTest::addColumn<RulesState>("after");
        const QString x = "Invoerfout (64): De afstand van de opslag tot het beoordelingspunt\n\ris kleiner "
                          "dan de afstand tot de afscherming | ";
        const QString xs = "Invoerfout (64): De afstand tussen het scherm en de opslag \n\ris te groot | ";
        const QString k = "Invoerfout (64): De efficiency van het scherm is een getal\n\rtussen 0 en 1 | ";
        using E = Enabled;
        const RulesState screenOn {E::Yes, E::Yes, true, "5.00", ".00", "1.00", "5.00"};
        const RulesState screenOff {E::No, E::Yes, false, "5.00", ".00", "1.00", "5.00"};
        const RulesState distances {E::Yes, E::Yes, true, "5.00", "5.00", "1.00", "5.00"};

        QTest::newRow("x before the screen")
            << QList<Step> {click("Check1"), write("CWNumEdit6", 8), typeAndLeave("CWNumEdit4", "5")}
            << QStringList {x + "x 8.00 xs 8.00 K 1.00"}
            << RulesState {E::Yes, E::Yes, true, "8.00", "8.00", "1.00", "5.00"};
        QTest::newRow("x before the screen, no screen")
            << QList<Step> {write("CWNumEdit6", 8), typeAndLeave("CWNumEdit4", "5")} << QStringList()
            << RulesState {E::No, E::Yes, false, "5.00", "8.00", "1.00", "5.00"};
        QTest::newRow("xs beyond x") << QList<Step> {click("Check1"), typeAndLeave("CWNumEdit6", "8")}
                                     << QStringList {xs + "x 5.00 xs 5.00 K 1.00"} << distances;
        QTest::newRow("xs equal to x")
            << QList<Step> {click("Check1"), typeAndLeave("CWNumEdit6", "5")} << QStringList() << distances;
        QTest::newRow("K above 1") << QList<Step> {click("Check1"), typeAndLeave("CWNumEdit7", "1.5")}
                                   << QStringList {k + "x 5.00 xs .00 K 1.00"} << screenOn;
        QTest::newRow("K of 1") << QList<Step> {click("Check1"), typeAndLeave("CWNumEdit7", ".5"),
                                                typeAndLeave("CWNumEdit7", "1")}
                                << QStringList() << screenOn;
        QTest::newRow("screen on, xs beyond x") << QList<Step> {write("CWNumEdit6", 8), click("Check1")}
                                                << QStringList {x + "x 5.00 xs 5.00 K 1.00"} << distances;
        QTest::newRow("screen on and off")
            << QList<Step> {click("Check1"), click("Check1")} << QStringList() << screenOff;
        QTest::newRow("indoor with screen") << QList<Step> {click("Check1"), click("Check3")} << QStringList()
                                            << RulesState {E::No, E::No, true, "5.00", ".00", "1.00", "5.00"};
        QTest::newRow("outdoor, screen on")
            << QList<Step> {click("Check1"), click("Check3"), click("Check3")} << QStringList() << screenOn;
        QTest::newRow("outdoor, screen off")
            << QList<Step> {click("Check3"), click("Check3")} << QStringList() << screenOff;
        QTest::newRow("width moves y")
            << QList<Step> {write("CWNumEdit9", -20), typeAndLeave("CWNumEdit1", "7")} << QStringList()
            << RulesState {E::No, E::Yes, false, "5.00", ".00", "1.00", "3.50"};
    }
    void rules()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QStringList, boxes);
        QFETCH(RulesState, after);
        for (const Step &step : steps)
            perform(form(), step);
        QCOMPARE(m_fixture->messageBox.shown, boxes);
        QCOMPARE(rulesState(form()), after);
        Form1 &f = form(); // never switched off
        for (QWidget *input :
             {f.CWNumEdit1, f.CWNumEdit2, f.CWNumEdit3, f.CWNumEdit4, f.CWNumEdit9, f.CWNumEdit8[0]})
            QVERIFY2(input->isEnabled(), qPrintable(input->objectName()));
    }

    // Each run finds stale results: the command must overwrite or empty all of them.
    void commands_data()
    {
        QTest::addColumn<bool>("dutch");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QStringList>("shown"); // the height of point 1, then the five results
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("printedRows");
        const QString undefined = "Invoerfout (64): Voor deze afmetingen komt de vlamhoogte uit op -0,33 m, "
                                  "dus op of onder 0 m.\nVergroot de hoogte of de afmetingen van de opslag.";
        const QStringList indoor {"4.00", "22.29", "", "", "", ""};
        const QStringList noResults {"2,50", "", "", "", "", ""};
        QTest::newRow("defaults") << false << QList<Step> {click("Command2")}
                                  << QStringList {"2.50", "38.14", "44.17", "44.76", "41.72", "36.73"}
                                  << QStringList() << QStringList();
        QTest::newRow("compact") << false << QList<Step> {click("Check2"), click("Command2")}
                                 << QStringList {"2.50", "21.7", "24.4", "22.77", "17.26", "9.91"}
                                 << QStringList() << QStringList();
        QTest::newRow("indoor") << false << QList<Step> {click("Check3"), click("Command2")} << indoor
                                << QStringList() << QStringList();
        QTest::newRow("limited face, decimal comma")
            << true << QList<Step> {typeAndLeave("CWNumEdit1", "100"), typeAndLeave("CWNumEdit2", "20"),
                                    typeAndLeave("CWNumEdit3", "6,0"), typeAndLeave("CWNumEdit4", "20"),
                                    typeAndLeave("CWNumEdit9", "80"),  click("Command2")}
            << QStringList {"2,50", "14,92", "15,69", "15,86", "15,42", "14,44"} << QStringList()
            << QStringList();
        QTest::newRow("undefined") << true
                                   << QList<Step> {typeAndLeave("CWNumEdit1", "8,7"),
                                                   typeAndLeave("CWNumEdit2", "8,7"),
                                                   typeAndLeave("CWNumEdit3", "0,5"), click("Command2")}
                                   << noResults << QStringList {undefined} << QStringList();
        QTest::newRow("undefined: Print stops")
            << true
            << QList<Step> {write("CWNumEdit1", 8.7), write("CWNumEdit2", 8.7), write("CWNumEdit3", 0.5),
                            click("Command1")}
            << noResults << QStringList {undefined} << QStringList();
        QTest::newRow("indoor printed") << false << QList<Step> {click("Check3"), click("Command1")} << indoor
                                        << QStringList {"PRINTER MESSAGE (64): Document geprint op Recorder."}
                                        << QStringList {"Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t"};
    }
    void commands()
    {
        QFETCH(bool, dutch);
        QFETCH(QList<Step>, steps);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, printedRows);
        QStringList printed;
        const auto printer = [&printed] {
            auto p = std::make_unique<RecordingPrinter>();
            p->keptLines = &printed;
            return p;
        };
        m_fixture = std::make_unique<FormFixture>(dutch, FormServices {nullptr, nullptr, printer});
        for (const Step &step : steps) {
            for (QLineEdit *box : form().Text2)
                box->setText(QStringLiteral("9"));
            perform(form(), step);
        }
        QCOMPARE(QStringList(form().CWNumEdit8[0]->lineEdit()->text()) + m_fixture->results().split(' '),
                 shown);
        QCOMPARE(m_fixture->messageBox.shown, boxes);
        QCOMPARE(printed.filter(QRegularExpression("^Beoordelingspunt \\d")), printedRows);
    }

    // The window's input error in the real box: the handlers' line feed and carriage return
    // make one line break.
    void inputErrorOnScreen()
    {
        m_fixture.reset();
        platform::QtMessageBox messageBox;
        Form1 window(FormServices {&messageBox, nullptr, {}});
        messageBox.setOwner(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        perform(window, click("Check1"));
        BoxAnswer answer(QMessageBox::Ok);
        perform(window, typeAndLeave("CWNumEdit6", "8"));
        QCOMPARE(answer.title, "Invoerfout");
        QCOMPARE(answer.text, "De afstand tussen het scherm en de opslag \nis te groot");
        QCOMPARE(answer.icon, QMessageBox::Information);
        QCOMPARE(answer.buttons, QMessageBox::Ok);
        QCOMPARE(window.CWNumEdit6->Value(), 5.0);
    }

    void answers_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QMessageBox::StandardButton>("pressed"); // NoButton: Escape
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(platform::vbYesNo) << QMessageBox::Yes << int(platform::vbYes);
        QTest::newRow("No") << int(platform::vbYesNo) << QMessageBox::No << int(platform::vbNo);
        QTest::newRow("Escape says No")
            << int(platform::vbYesNo) << QMessageBox::NoButton << int(platform::vbNo);
        QTest::newRow("OK") << int(platform::vbOKOnly) << QMessageBox::Ok << int(platform::vbOK);
    }
    void answers()
    {
        QFETCH(int, style);
        QFETCH(QMessageBox::StandardButton, pressed);
        QFETCH(int, answer);
        m_fixture.reset();
        platform::QtMessageBox messageBox;
        BoxAnswer shown(pressed);
        QCOMPARE(messageBox.MsgBox("Installeren?", style, "Adobe"), answer);
        QCOMPARE(shown.text, "Installeren?");
    }
};

QTEST_MAIN(TestForm1Handlers)
#include "tst_form1_handlers.moc"
