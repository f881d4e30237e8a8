// The window's handlers worked step by step as a user works them: which notifications
// empty the result boxes, the three checks, the switches, the width; "Bereken", "Print".

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "recording_printer.h"

#include <QCheckBox>
#include <QRegularExpression>

class TestForm1Handlers : public QObject
{
    Q_OBJECT

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

    // "Check1" clicks it; "CWNumEdit6=8" is a program write; "CWNumEdit4:5" is typed and left with
    // Tab; "CWNumEdit2+" types a 1, "CWNumEdit2@" clicks the field. Each step finds stale results
    // in the boxes and tells whether it emptied all five (1), none (0) or some (?).
    QChar step(const QString &what)
    {
        for (QLineEdit *box : form().Text2)
            box->setText(QStringLiteral("9"));
        const qsizetype at = what.indexOf(QRegularExpression(QStringLiteral("[=:+@]")));
        QWidget *control = form().findChild<QWidget *>(what.left(at));
        auto *edit = qobject_cast<CWNumEdit *>(control);
        QLineEdit *field = edit ? edit->lineEdit() : control->findChild<QLineEdit *>();
        const QChar how = at < 0 ? QChar() : what[at];
        if (how == '=') {
            edit->setValue(what.mid(at + 1).toDouble());
        } else if (how == ':') {
            field->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(field, what.mid(at + 1) + '\t'); // Tab leaves it
        } else if (how.isNull()) {
            FormFixture::click(control);
        } else {
            how == '+' ? QTest::keyClick(field, Qt::Key_1) : QTest::mouseClick(field, Qt::LeftButton);
        }
        const QString results = m_fixture->results();
        return results == QLatin1String("    ") ? '1' : results == QLatin1String("9 9 9 9 9") ? '0' : '?';
    }
    // Enabled: B D H x y, hs xs K, Check1 Check2, points 1-5; Check1's mark; x xs K y.
    QString state()
    {
        Form1 &f = form();
        QString flags;
        for (const QWidget *w : QList<QWidget *> {
                 f.CWNumEdit1, f.CWNumEdit2, f.CWNumEdit3, f.CWNumEdit4, f.CWNumEdit9, nullptr, f.CWNumEdit5,
                 f.CWNumEdit6, f.CWNumEdit7, nullptr, f.Check1, f.Check2, nullptr, f.CWNumEdit8[0],
                 f.CWNumEdit8[1], f.CWNumEdit8[2], f.CWNumEdit8[3], f.CWNumEdit8[4]})
            flags += !w ? ' ' : w->isEnabled() ? '1' : '0';
        flags += f.Check1->isChecked() ? " 1" : " 0";
        for (const CWNumEdit *edit : {f.CWNumEdit4, f.CWNumEdit6, f.CWNumEdit7, f.CWNumEdit9})
            flags += ' ' + edit->lineEdit()->text();
        return flags;
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<FormFixture>();
        m_fixture->messageBox.behind = [this] { return " | " + state().section(' ', -4, -2); }; // x xs K
    }
    void cleanup() { QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog"); }

    void clearing_data()
    {
        QTest::addColumn<QStringList>("row"); // steps; 1 where a step empties all five boxes
        QTest::newRow("B: its new y clears") << QStringList {"CWNumEdit1=11 CWNumEdit1+ CWNumEdit1@", "111"};
        QTest::newRow("D") << QStringList {"CWNumEdit2=11 CWNumEdit2+ CWNumEdit2@", "110"};
        QTest::newRow("H") << QStringList {"CWNumEdit3=9 CWNumEdit3+ CWNumEdit3@", "110"};
        QTest::newRow("x") << QStringList {"CWNumEdit4=6 CWNumEdit4+ CWNumEdit4@", "110"};
        QTest::newRow("hs") << QStringList {"CWNumEdit5=1 CWNumEdit5+ CWNumEdit5@", "111"};
        QTest::newRow("xs") << QStringList {"CWNumEdit6=1 CWNumEdit6+ CWNumEdit6@", "011"};
        QTest::newRow("K") << QStringList {"CWNumEdit7=.5 CWNumEdit7+ CWNumEdit7@", "011"};
        QTest::newRow("point 4") << QStringList {"CWNumEdit8(3)=11 CWNumEdit8(3)+ CWNumEdit8(3)@", "110"};
        QTest::newRow("y") << QStringList {"CWNumEdit9=6 CWNumEdit9+ CWNumEdit9@", "110"};
        QTest::newRow("options") << QStringList {"Check1 Check2 Check3 Combo1+", "0101"};
    }
    void clearing()
    {
        QFETCH(QStringList, row);
        step(QStringLiteral("Check1")); // so that hs, xs and K can be worked
        QString seen;
        for (const QString &one : row[0].split(' '))
            seen += step(one);
        QCOMPARE(seen, row[1]);
        QVERIFY(m_fixture->messageBox.shown.isEmpty());
    }

    // A box shows the x, xs and K behind it: corrected already.
    void rules_data()
    {
        QTest::addColumn<QStringList>("row"); // steps, boxes, state after
        const QString x = "Invoerfout (64): De afstand van de opslag tot het beoordelingspunt\n\ris kleiner "
                          "dan de afstand tot de afscherming | ";
        const QString xs = "Invoerfout (64): De afstand tussen het scherm en de opslag \n\ris te groot | ";
        const QString k = "Invoerfout (64): De efficiency van het scherm is een getal\n\rtussen 0 en 1 | ";
        QTest::newRow("x before the screen")
            << QStringList {"Check1 CWNumEdit6=8 CWNumEdit4:5", x + "8.00 8.00 1.00",
                            "11111 111 11 11111 1 8.00 8.00 1.00 5.00"};
        QTest::newRow("x before the screen, no screen")
            << QStringList {"CWNumEdit6=8 CWNumEdit4:5", "", "11111 000 11 11111 0 5.00 8.00 1.00 5.00"};
        QTest::newRow("xs beyond x") << QStringList {"Check1 CWNumEdit6:8", xs + "5.00 5.00 1.00",
                                                     "11111 111 11 11111 1 5.00 5.00 1.00 5.00"};
        QTest::newRow("xs equal to x")
            << QStringList {"Check1 CWNumEdit6:5", "", "11111 111 11 11111 1 5.00 5.00 1.00 5.00"};
        QTest::newRow("K above 1") << QStringList {"Check1 CWNumEdit7:1.5", k + "5.00 .00 1.00",
                                                   "11111 111 11 11111 1 5.00 .00 1.00 5.00"};
        QTest::newRow("K below 0") << QStringList {"Check1 CWNumEdit7:-5", k + "5.00 .00 .00",
                                                   "11111 111 11 11111 1 5.00 .00 .00 5.00"};
        QTest::newRow("K of 1") << QStringList {"Check1 CWNumEdit7:.5 CWNumEdit7:1", "",
                                                "11111 111 11 11111 1 5.00 .00 1.00 5.00"};
        QTest::newRow("screen on, xs beyond x") << QStringList {"CWNumEdit6=8 Check1", x + "5.00 5.00 1.00",
                                                                "11111 111 11 11111 1 5.00 5.00 1.00 5.00"};
        QTest::newRow("screen on and off")
            << QStringList {"Check1 Check1", "", "11111 000 11 11111 0 5.00 .00 1.00 5.00"};
        QTest::newRow("indoor with screen")
            << QStringList {"Check1 Check3", "", "11111 000 00 10000 1 5.00 .00 1.00 5.00"};
        QTest::newRow("outdoor, screen on")
            << QStringList {"Check1 Check3 Check3", "", "11111 111 11 11111 1 5.00 .00 1.00 5.00"};
        QTest::newRow("outdoor, screen off")
            << QStringList {"Check3 Check3", "", "11111 000 11 11111 0 5.00 .00 1.00 5.00"};
        QTest::newRow("width moves y")
            << QStringList {"CWNumEdit9=-20 CWNumEdit1:7", "", "11111 000 11 11111 0 5.00 .00 1.00 3.50"};
    }
    void rules()
    {
        QFETCH(QStringList, row);
        for (const QString &one : row[0].split(' '))
            step(one);
        QCOMPARE(m_fixture->messageBox.shown.join('\n'), row[1]);
        QCOMPARE(state(), row[2]);
    }

    // Each step finds stale results: the command must overwrite or empty all of them.
    void commands_data()
    {
        QTest::addColumn<QStringList>(
            "run"); // locale, steps, point 1's height and the results, boxes, printed rows
        const QString defaults = "2.50 38.14 44.17 44.76 41.72 36.73", indoor = "4.00 22.29    ";
        const QString limited =
            "CWNumEdit1:100 CWNumEdit2:20 CWNumEdit3:6 CWNumEdit4:20 CWNumEdit9:80 Command2";
        const QString undefined = "Invoerfout (64): Voor deze afmetingen komt de vlamhoogte uit op -0,33 m, "
                                  "dus op of onder 0 m.\nVergroot de hoogte of de afmetingen van de opslag.";
        QTest::newRow("defaults") << QStringList {"C", "Command2", defaults, "", ""};
        QTest::newRow("compact") << QStringList {"C", "Check2 Command2", "2.50 21.7 24.4 22.77 17.26 9.91",
                                                 "", ""};
        QTest::newRow("indoor") << QStringList {"C", "Check3 Command2", indoor, "", ""};
        QTest::newRow("limited face")
            << QStringList {"C", limited, "2.50 14.92 15.69 15.86 15.42 14.44", "", ""};
        QTest::newRow("decimal comma") << QStringList {"nl", QString(limited).replace(":6", ":6,0"),
                                                       "2,50 14,92 15,69 15,86 15,42 14,44", "", ""};
        QTest::newRow("undefined") << QStringList {
            "nl", "CWNumEdit1:8,7 CWNumEdit2:8,7 CWNumEdit3:0,5 Command2", "2,50     ", undefined, ""};
        QTest::newRow("undefined: Print stops") << QStringList {
            "nl", "CWNumEdit1=8.7 CWNumEdit2=8.7 CWNumEdit3=.5 Command1", "2,50     ", undefined, ""};
        QTest::newRow("negative depth")
            << QStringList {"nl", "CWNumEdit2:-5 Command2", "2,50     ",
                            "Invoerfout (64): De diepte van de opslag moet groter "
                            "zijn dan 0 m.",
                            ""};
        QTest::newRow("indoor printed") << QStringList {"C", "Check3 Command1", indoor,
                                                        "PRINTER MESSAGE (64): Document geprint op Recorder.",
                                                        "Beoordelingspunt 1\t\t\t4\t\t\t\t22.29\t"};
    }
    void commands()
    {
        QFETCH(QStringList, run);
        QStringList printed;
        const auto printer = [&printed] {
            auto p = std::make_unique<RecordingPrinter>();
            p->keptLines = &printed;
            return p;
        };
        m_fixture = std::make_unique<FormFixture>(run[0] == "nl", FormServices {nullptr, nullptr, printer});
        for (const QString &one : run[1].split(' '))
            step(one);
        QCOMPARE(form().CWNumEdit8[0]->lineEdit()->text() + ' ' + m_fixture->results(), run[2]);
        QCOMPARE(m_fixture->messageBox.shown.join('\n'), run[3]);
        QCOMPARE(printed.filter(QRegularExpression("^Beoordelingspunt \\d")).join('\n'),
                 run[4]); // none where Print stops
    }
};

QTEST_MAIN(TestForm1Handlers)
#include "tst_form1_handlers.moc"
