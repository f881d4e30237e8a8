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

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

    void start(bool dutch) { m_fixture = std::make_unique<FormFixture>(dutch); }
    QString results() { return m_fixture->results(); }

private slots:
    void cleanup() { QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog"); }

    void calculate_data()
    {
        QTest::addColumn<bool>("dutch");
        QTest::addColumn<QList<double>>("inputs"); // B, D, H, x, y
        QTest::addColumn<bool>("compact");
        QTest::addColumn<QString>("expected");
        const QList<double> defaults{10, 10, 8, 5, 5};
        QTest::newRow("defaults") << false << defaults << false << "38.14 44.17 44.76 41.72 36.73";
        QTest::newRow("defaults, comma") << true << defaults << false << "38,14 44,17 44,76 41,72 36,73";
        QTest::newRow("compact") << false << defaults << true << "21.7 24.4 22.77 17.26 9.91";
        QTest::newRow("limited face") << false << QList<double>{100, 20, 6, 20, 80} << false << "14.92 15.69 15.86 15.42 14.44";
        QTest::newRow("point in line with a side") << false << QList<double>{5, 5, 3, 5, 5} << false << "15.23 14.58 10.77 6.23 2.89";
    }
    void calculate()
    {
        QFETCH(bool, dutch);
        QFETCH(QList<double>, inputs);
        QFETCH(bool, compact);
        QFETCH(QString, expected);
        start(dutch);
        // The width first: it moves y to the middle of the side.
        const std::array<CWNumEdit *, 5> edits{form().CWNumEdit1, form().CWNumEdit2, form().CWNumEdit3,
                                               form().CWNumEdit4, form().CWNumEdit9};
        for (int i = 0; i < 5; ++i)
            edits[i]->setValue(inputs[i]);
        if (compact)
            QTest::mouseClick(form().Check2, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(results(), expected);
        QVERIFY(m_fixture->messageBox.shown.isEmpty());
    }

    // Typed with the keyboard and Tab under a Dutch locale, y last since B moves it.
    void typedWithDecimalComma()
    {
        start(true);
        for (const char *typed : {"100", "20", "6,0", "20", "80"}) {
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(typed));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(results(), QStringLiteral("14,92 15,69 15,86 15,42 14,44"));
        QCOMPARE(form().CWNumEdit3->lineEdit()->text(), QStringLiteral("6,00"));
    }

    // Indoor: only point 1 gets a result, at half the building height, and what an
    // earlier outdoor calculation showed for points 2 to 5 goes.
    void indoor()
    {
        start(false);
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QTest::mouseClick(form().Check3, Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(results(), QStringLiteral("38.14 44.17 44.76 41.72 36.73")); // the switch keeps them
        QTest::mouseClick(form().Command2, Qt::LeftButton);
        QCOMPARE(results(), QStringLiteral("22.29    "));
        QCOMPARE(form().CWNumEdit8[0]->Value(), 4.000005);
        QCOMPARE(form().CWNumEdit8[0]->lineEdit()->text(), QStringLiteral("4.00"));
    }

    // A flame below the pile top: the explanation, with a decimal comma, and no results,
    // not even those of earlier inputs; "Print" stops here too.
    void undefinedCase()
    {
        start(true);
        form().CWNumEdit1->setValue(8.7);
        form().CWNumEdit2->setValue(8.7);
        form().CWNumEdit3->setValue(0.5);
        for (QLineEdit *box : form().Text2)
            box->setText(QStringLiteral("1"));
        QVERIFY(!form().Command2_Click());
        QCOMPARE(results(), QStringLiteral("    "));
        QCOMPARE(m_fixture->messageBox.shown.size(), 1);
        const RecordingMessageBox::Shown &box = m_fixture->messageBox.shown[0];
        QVERIFY2(box.title == "Invoerfout" && box.style == platform::vbInformation && box.prompt.contains("-0,33"), qPrintable(box.prompt));
    }
};

QTEST_MAIN(TestForm1Commands)
#include "tst_form1_commands.moc"
