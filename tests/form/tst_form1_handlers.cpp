// The window's handlers worked step by step as a user works them: the three checks, the
// switches, the width; "Bereken", "Print", the Enter key and a click that empties the results;
// and the message box the window really shows, in the user's language.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "qt_message_box.h"
#include "recording_printer.h"
#include "standard_texts.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

namespace {

// Write: a value set by the program; TypeAndLeave: typed, then Tab; ClickField: a click in
// the field; Enter: typed (or nothing) where the focus is put, then Return.
enum Action { Click, Write, TypeAndLeave, ClickField, Enter };

// One thing done to a control, found by its name.
struct Step
{
    Action action;
    QString control;
    QString value = {}; // typed, or written
};
using Steps = QList<Step>;

void perform(Form1 &form, const Step &step)
{
    auto *control = form.findChild<QWidget *>(step.control);
    QVERIFY2(control, qPrintable("no control named " + step.control));
    auto *edit = qobject_cast<CWNumEdit *>(control);
    QLineEdit *field = edit ? edit->lineEdit() : control->findChild<QLineEdit *>();
    QVERIFY2(step.action == Click || step.action == Enter || field,
             qPrintable(step.control + " has no field"));
    QVERIFY2(step.action != Write || edit, qPrintable(step.control + " is no numeric input"));
    QWidget *focused = field ? field : control;
    if (step.action == TypeAndLeave || step.action == Enter)
        focused->setFocus(Qt::TabFocusReason);
    if (step.action == Click)
        FormFixture::click(control);
    else if (step.action == Write)
        edit->setValue(step.value.toDouble());
    else if (step.action == TypeAndLeave)
        QTest::keyClicks(field, step.value + '\t');
    else if (step.action == Enter) {
        QTest::keyClicks(focused, step.value);
        QTest::keyClick(focused, Qt::Key_Return);
    } else {
        QTest::mouseClick(field, Qt::LeftButton);
    }
}

enum Enabled { Off, On, Partly };

// What the input rules act on: the two switchable groups, the screen's mark, x, xs, K and y as shown.
struct Rules
{
    Enabled screenInputs;   // hs, xs, K
    Enabled outdoorOptions; // Check1, Check2, points 2 to 5
    bool screenChecked;
    QStringList values; // x, xs, K, y
    bool operator==(const Rules &o) const
    {
        return screenInputs == o.screenInputs && outdoorOptions == o.outdoorOptions
            && screenChecked == o.screenChecked && values == o.values;
    }
};

char *toString(const Rules &s)
{
    const char *names[] = {"off", "on", "partly on"};
    return QTest::toString(QStringLiteral("screen inputs %1, outdoor options %2, screen %3, x xs K y %4")
                               .arg(names[s.screenInputs], names[s.outdoorOptions],
                                    s.screenChecked ? "checked" : "unchecked", s.values.join(' ')));
}

Enabled enabled(const QList<QWidget *> &group)
{
    const auto on = std::count_if(group.cbegin(), group.cend(), [](QWidget *w) { return w->isEnabled(); });
    return on == 0 ? Off : on == group.size() ? On : Partly;
}

Rules rulesOf(const Form1 &f)
{
    QStringList values;
    for (const CWNumEdit *edit : {f.CWNumEdit4, f.CWNumEdit6, f.CWNumEdit7, f.CWNumEdit9})
        values << edit->lineEdit()->text();
    return {enabled({f.CWNumEdit5, f.CWNumEdit6, f.CWNumEdit7}),
            enabled({f.Check1, f.Check2, f.CWNumEdit8[1], f.CWNumEdit8[2], f.CWNumEdit8[3], f.CWNumEdit8[4]}),
            f.Check1->isChecked(), values};
}

// Presses a button of the message box that opens next and notes what it showed.
struct BoxAnswer
{
    QString text;
    QStringList buttons; // as the box shows them, without their mnemonic
    QTimer timer;

    explicit BoxAnswer(QMessageBox::StandardButton press)
    {
        timer.callOnTimeout(&timer, [this, press] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer.stop();
            text = box->text();
            for (QMessageBox::StandardButton which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}) {
                if (QAbstractButton *button = box->button(which))
                    buttons << button->text().remove('&');
            }
            box->button(press)->click();
        });
        timer.start(10);
    }
};

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Rules)

class TestForm1Handlers : public QObject
{
    Q_OBJECT

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

    // Each step finds stale results in all five boxes.
    void performOnStaleResults(const Steps &steps)
    {
        for (const Step &step : steps) {
            for (QLineEdit *box : form().Text2)
                box->setText(QStringLiteral("9"));
            perform(form(), step);
        }
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<FormFixture>();
        // What the user sees behind a box: x, xs and K.
        m_fixture->messageBox.behind = [this] { return " | " + rulesOf(form()).values.mid(0, 3).join(' '); };
    }
    void cleanup()
    {
        qDeleteAll(qApp->findChildren<QTranslator *>()); // a translator leaves with the application
        if (m_fixture)
            QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog");
    }

    void rules_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QStringList>("boxes"); // with x, xs and K behind them: corrected already
        QTest::addColumn<Rules>("after");
        const QString x = "Invoerfout (64): De afstand van de opslag tot het beoordelingspunt\n\ris kleiner "
                          "dan de afstand tot de afscherming | ";
        const QString xs = "Invoerfout (64): De afstand tussen het scherm en de opslag \n\ris te groot | ";
        const QString k = "Invoerfout (64): De efficiency van het scherm is een getal\n\rtussen 0 en 1 | ";
        const Step screen {Click, "Check1"};
        const Step indoor {Click, "Check3"};
        const QStringList design {"5.00", ".00", "1.00", "5.00"};
        const Rules screenOnAtX {On, On, true, {"5.00", "5.00", "1.00", "5.00"}};
        // clang-format off
        QTest::newRow("x before the screen")
            << Steps {screen, {Write, "CWNumEdit6", "8"}, {TypeAndLeave, "CWNumEdit4", "5"}}
            << QStringList {x + "8.00 8.00 1.00"} << Rules {On, On, true, {"8.00", "8.00", "1.00", "5.00"}};
        QTest::newRow("xs beyond x") << Steps {screen, {TypeAndLeave, "CWNumEdit6", "8"}}
                                     << QStringList {xs + "5.00 5.00 1.00"} << screenOnAtX;
        QTest::newRow("K below 0") << Steps {screen, {TypeAndLeave, "CWNumEdit7", "-5"}}
                                   << QStringList {k + "5.00 .00 .00"}
                                   << Rules {On, On, true, {"5.00", ".00", ".00", "5.00"}};
        QTest::newRow("screen on, xs beyond x") << Steps {{Write, "CWNumEdit6", "8"}, screen}
                                                << QStringList {x + "5.00 5.00 1.00"} << screenOnAtX;
        QTest::newRow("indoor with screen") << Steps {screen, indoor} << QStringList()
                                            << Rules {Off, Off, true, design};
        QTest::newRow("width moves y") << Steps {{Write, "CWNumEdit9", "-20"}, {TypeAndLeave, "CWNumEdit1", "7"}}
                                       << QStringList() << Rules {Off, On, false, {"5.00", ".00", "1.00", "3.50"}};
        // clang-format on
    }
    void rules()
    {
        QFETCH(Steps, steps);
        QFETCH(QStringList, boxes);
        QFETCH(Rules, after);
        for (const Step &step : steps)
            perform(form(), step);
        QCOMPARE(m_fixture->messageBox.shown, boxes);
        QCOMPARE(rulesOf(form()), after);
        Form1 &f = form(); // never switched off
        for (QWidget *input :
             {f.CWNumEdit1, f.CWNumEdit2, f.CWNumEdit3, f.CWNumEdit4, f.CWNumEdit9, f.CWNumEdit8[0]})
            QVERIFY2(input->isEnabled(), qPrintable(input->objectName()));
    }

    void commands_data()
    {
        QTest::addColumn<bool>("dutch");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QStringList>("shown"); // the height of point 1, then the five results
        QTest::addColumn<QStringList>("boxes");
        const QString undefined = "Invoerfout (64): Voor deze afmetingen komt de vlamhoogte uit op -0,33 m, "
                                  "dus op of onder 0 m.\nVergroot de hoogte of de afmetingen van de opslag.";
        const QString printed = "PRINTER MESSAGE (64): Document geprint op Recorder.";
        const QStringList indoor {"4.00", "22.29", "", "", "", ""};
        const QStringList noResults {"2,50", "", "", "", "", ""};
        const Step calculate {Click, "Command2"};
        const Steps limited {{TypeAndLeave, "CWNumEdit1", "100"}, {TypeAndLeave, "CWNumEdit2", "20"},
                             {TypeAndLeave, "CWNumEdit3", "6,0"}, {TypeAndLeave, "CWNumEdit4", "20"},
                             {TypeAndLeave, "CWNumEdit9", "80"},  calculate};
        const Steps flameBelowGround {
            {Write, "CWNumEdit1", "8.7"}, {Write, "CWNumEdit2", "8.7"}, {Write, "CWNumEdit3", "0.5"}};
        // clang-format off
        QTest::newRow("defaults, Return on Bereken") << false << Steps {{Enter, "Command2"}}
            << QStringList {"2.50", "38.14", "44.17", "44.76", "41.72", "36.73"} << QStringList();
        QTest::newRow("a click in a field empties the results") << false << Steps {{ClickField, "CWNumEdit1"}}
            << QStringList {"2.50", "", "", "", "", ""} << QStringList();
        QTest::newRow("Return in a field takes the value, calculates nothing") << true
            << Steps {{Enter, "CWNumEdit8(0)", "6,5"}} << QStringList {"6,50", "", "", "", "", ""} << QStringList();
        QTest::newRow("limited face, typed with a decimal comma") << true << limited
                                << QStringList {"2,50", "14,92", "15,69", "15,86", "15,42", "14,44"} << QStringList();
        QTest::newRow("undefined") << true << Steps(flameBelowGround) + Steps {calculate} << noResults
                                   << QStringList {undefined};
        QTest::newRow("undefined: Print stops") << true << Steps(flameBelowGround) + Steps {{Click, "Command1"}}
                                                << noResults << QStringList {undefined};
        QTest::newRow("indoor, Return on Print") << false << Steps {{Click, "Check3"}, {Enter, "Command1"}} << indoor
                                                 << QStringList {printed};
        // clang-format on
    }
    void commands()
    {
        QFETCH(bool, dutch);
        QFETCH(Steps, steps);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, boxes);
        const auto printer = [] { return std::make_unique<RecordingPrinter>(); };
        m_fixture = std::make_unique<FormFixture>(dutch, FormServices {nullptr, nullptr, printer});
        performOnStaleResults(steps);
        QCOMPARE(QStringList(form().CWNumEdit8[0]->lineEdit()->text()) + m_fixture->results().split(' '),
                 shown);
        QCOMPARE(m_fixture->messageBox.shown, boxes);
    }

    // The button pressed in the real box, the answer the handlers get, the text it shows (the
    // handlers' line feed and carriage return make one line break) and its buttons in the
    // user's language, from Qt's own translation of its standard texts.
    void answers_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QMessageBox::StandardButton>("pressed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("buttons");
        const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
        const int question = platform::vbYesNo | platform::vbDefaultButton1;
        const int error = platform::vbOKOnly | platform::vbInformation;
        const QString install = "Installeren?";
        const QString tooFar = "De afstand tussen het scherm en de opslag \n\ris te groot";
        QTest::newRow("Yes") << dutch << question << install << QMessageBox::Yes << int(platform::vbYes)
                             << install << "Ja Nee";
        QTest::newRow("No") << dutch << question << install << QMessageBox::No << int(platform::vbNo)
                            << install << "Ja Nee";
        QTest::newRow("input error, one line break")
            << dutch << error << tooFar << QMessageBox::Ok << int(platform::vbOK)
            << "De afstand tussen het scherm en de opslag \nis te groot"
            << "OK";
    }
    void answers()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, style);
        QFETCH(QString, prompt);
        QFETCH(QMessageBox::StandardButton, pressed);
        QFETCH(int, answer);
        QFETCH(QString, text);
        QFETCH(QString, buttons);
        m_fixture.reset();
        QCOMPARE(installStandardTexts(locale), locale.language() == QLocale::Dutch);
        platform::QtMessageBox messageBox;
        BoxAnswer shown(pressed);
        QCOMPARE(messageBox.MsgBox(prompt, style, "Adobe"), answer);
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.buttons.join(' '), buttons);
    }
};

QTEST_MAIN(TestForm1Handlers)
#include "tst_form1_handlers.moc"
