// "Bereken" worked as a user works it: inputs set or typed, the button clicked, the
// five result boxes read back; the indoor case, the locale and the undefined cases.

#include "cw_num_edit.h"
#include "form_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

class TestForm1Commands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

    void start(QLocale::Language language, QLocale::Territory territory = QLocale::AnyTerritory)
    {
        m_fixture = std::make_unique<FormFixture>(language, territory);
        QVERIFY(m_fixture->show());
    }
    void click(QCheckBox *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    QStringList results()
    {
        QStringList texts;
        for (QLineEdit *box : form().Text2)
            texts << box->text();
        return texts;
    }

private slots:
    void cleanup()
    {
        if (m_fixture)
            QVERIFY2(m_fixture->guard.unexpected().isEmpty(),
                     qPrintable(m_fixture->guard.unexpected().join('\n')));
        m_fixture.reset();
    }

    void calculate_data()
    {
        using Inputs = QList<double>; // B, D, H, x, y
        QTest::addColumn<bool>("dutch");
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<QStringList>("expected");
        const Inputs defaults{10, 10, 8, 5, 5};
        QTest::newRow("defaults") << false << defaults << false
                                  << QStringList{"38.14", "44.17", "44.76", "41.72", "36.73"};
        QTest::newRow("defaults, decimal comma") << true << defaults << false
                                                 << QStringList{"38,14", "44,17", "44,76", "41,72", "36,73"};
        QTest::newRow("compact") << false << defaults << true
                                 << QStringList{"21.7", "24.4", "22.77", "17.26", "9.91"};
        QTest::newRow("compact, decimal comma") << true << defaults << true
                                                << QStringList{"21,7", "24,4", "22,77", "17,26", "9,91"};
        QTest::newRow("limited face") << false << Inputs{100, 20, 6, 20, 80} << false
                                      << QStringList{"14.92", "15.69", "15.86", "15.42", "14.44"};
        QTest::newRow("point in line with a side") << false << Inputs{5, 5, 3, 5, 5} << false
                                                   << QStringList{"15.23", "14.58", "10.77", "6.23", "2.89"};
        QTest::newRow("low wide pile") << false << Inputs{50, 10, 2, 10, 30} << false
                                       << QStringList{"13.63", "12.43", "9.8", "6.99", "4.73"};
    }
    void calculate()
    {
        QFETCH(bool, dutch);
        QFETCH(QList<double>, inputs);
        QFETCH(bool, compact);
        QFETCH(QStringList, expected);
        start(dutch ? QLocale::Dutch : QLocale::C, dutch ? QLocale::Netherlands : QLocale::AnyTerritory);
        // The width first: it moves y to the middle of the side.
        form().CWNumEdit1->setValue(inputs[0]);
        form().CWNumEdit2->setValue(inputs[1]);
        form().CWNumEdit3->setValue(inputs[2]);
        form().CWNumEdit4->setValue(inputs[3]);
        form().CWNumEdit9->setValue(inputs[4]);
        if (compact)
            click(form().Check2);
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(results(), expected);
        QVERIFY(m_fixture->messageBox.shown.isEmpty());
    }

    // Typed with the keyboard and Tab under a Dutch locale, y last since B moves it.
    void typedWithDecimalComma()
    {
        start(QLocale::Dutch, QLocale::Netherlands);
        form().CWNumEdit1->setFocus(Qt::TabFocusReason);
        for (const char *typed : {"100", "20", "6,0", "20", "80"}) {
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(form().CWNumEdit9->Value(), 80.0);
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(results(), (QStringList{"14,92", "15,69", "15,86", "15,42", "14,44"}));
        QCOMPARE(form().CWNumEdit3->lineEdit()->text(), QStringLiteral("6,00"));
    }

    // Indoor: only point 1 gets a result, at half the building height, and what an
    // earlier outdoor calculation showed for points 2 to 5 goes.
    void indoor()
    {
        start(QLocale::C);
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(form().Text2[4]->text(), QStringLiteral("36.73"));
        click(form().Check3);
        QCOMPARE(form().Text2[4]->text(), QStringLiteral("36.73")); // the switch keeps results

        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(results(), (QStringList{"22.29", "", "", "", ""}));
        QCOMPARE(form().CWNumEdit8[0]->Value(), 4.000005);
        QCOMPARE(form().CWNumEdit8[0]->lineEdit()->text(), QStringLiteral("4.00"));
        QCOMPARE(form().state().PointFraction, 0.5000001);
    }

    void undefinedCases_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("depth");
        QTest::addColumn<double>("height");
        QTest::addColumn<QString>("explained");
        QTest::newRow("negative flame height") << 8.7 << 8.7 << 0.5 << "-0,33";
        QTest::newRow("width zero") << 0.0 << 10.0 << 8.0 << "breedte";
    }
    void undefinedCases()
    {
        QFETCH(double, width);
        QFETCH(double, depth);
        QFETCH(double, height);
        QFETCH(QString, explained);
        start(QLocale::Dutch, QLocale::Netherlands);
        form().CWNumEdit1->setValue(width);
        form().CWNumEdit2->setValue(depth);
        form().CWNumEdit3->setValue(height);
        // Results of other inputs still on screen must not survive a failed calculation.
        for (QLineEdit *box : form().Text2)
            box->setText(QStringLiteral("1"));

        QVERIFY(!form().Command2_Click());
        QCOMPARE(results(), (QStringList{"", "", "", "", ""}));
        QCOMPARE(m_fixture->messageBox.shown.size(), 1);
        const auto &box = m_fixture->messageBox.shown.first();
        QCOMPARE(box.title, QStringLiteral("Invoerfout"));
        QCOMPARE(box.style, platform::vbOKOnly | platform::vbInformation);
        QVERIFY2(box.prompt.contains(explained), qPrintable(box.prompt));
    }
};

QTEST_MAIN(TestForm1Commands)
#include "tst_form1_commands.moc"
