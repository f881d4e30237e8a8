// The window as its control table builds it: the focus order, the design state, places
// of controls; and how its numeric inputs take typed text and steps.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "picture_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QRegularExpression>
#include <QSignalSpy>

class TestForm1Controls : public QObject
{
    Q_OBJECT

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

private slots:
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup() { QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog"); }

    // With the screen on, so that every input takes part.
    void tabOrder()
    {
        FormFixture::click(form().Check1);
        form().CWNumEdit1->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 21; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab)) {
            const QWidget *focused = QApplication::focusWidget();
            visited << (focused->objectName().isEmpty() ? focused->parentWidget() : focused)->objectName();
        }
        QCOMPARE(visited.join(' '),
                 "CWNumEdit1 CWNumEdit2 CWNumEdit3 CWNumEdit4 CWNumEdit9 Check3 Check2 Check1 CWNumEdit5 "
                 "CWNumEdit6 CWNumEdit7 CWNumEdit8(0) CWNumEdit8(1) CWNumEdit8(2) CWNumEdit8(3) "
                 "CWNumEdit8(4) Command2 Command1 Command3 Combo1 CWNumEdit1");
    }

    void designState()
    {
        QVERIFY(form().CWNumEdit1->hasFocus());
        QString state;
        for (QWidget *control :
             form().findChildren<QWidget *>(QRegularExpression("^(CWNumEdit|Check|Text2)"))) {
            auto *edit = qobject_cast<CWNumEdit *>(control);
            auto *check = qobject_cast<QCheckBox *>(control);
            state += QStringLiteral(" %1%2=%3")
                         .arg(control->isEnabled() ? "" : "-", control->objectName(),
                              edit        ? edit->lineEdit()->text()
                                  : check ? QString::number(check->checkState())
                                          : static_cast<QLineEdit *>(control)->text());
        }
        QCOMPARE(state,
                 QStringLiteral(
                     " CWNumEdit1=10.00 CWNumEdit2=10.00 CWNumEdit3=8.00 CWNumEdit4=5.00 CWNumEdit9=5.00"
                     " Check3=0 Check2=0 Check1=0 -CWNumEdit5=.00 -CWNumEdit6=.00 -CWNumEdit7=1.00"
                     " CWNumEdit8(0)=2.50 CWNumEdit8(1)=5.00 CWNumEdit8(2)=7.50 CWNumEdit8(3)=10.00"
                     " CWNumEdit8(4)=12.50 Text2(0)= Text2(1)= Text2(2)= Text2(3)= Text2(4)="));
        for (int i = 0; i < 5; ++i) // result i stands level with the height of point i
            QCOMPARE(form().Text2[i]->mapTo(&form(), QPoint()).y(),
                     form().CWNumEdit8[i]->mapTo(&form(), QPoint()).y());
        for (const auto &[name, parent, pixels] :
             {std::tuple {"Frame3", "Form1", QRect(296, 368, 409, 177)},
              std::tuple {"CWNumEdit8(4)", "Frame1", QRect(184, 152, 41, 17)},
              std::tuple {"Command3", "Frame3", QRect(304, 120, 81, 41)}}) {
            const auto *control = form().findChild<QWidget *>(name);
            QVERIFY2(control && control->parentWidget()->objectName() == parent
                         && control->geometry() == pixels,
                     name);
        }
        QVERIFY(form().Image1->hasPicture()
                && form().picture1Image().deviceIndependentSize() == QSizeF(102, 43));
    }

    // Locale, input, typed, shown after Return; the value taken is the one shown.
    void typing_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("point") << QStringList {"C", "CWNumEdit1", "12.5", "12.50"};
        QTest::newRow("#.#0 drops a lone zero") << QStringList {"C", "CWNumEdit3", "0.5", ".50"};
        QTest::newRow("0.#0 keeps it") << QStringList {"C", "CWNumEdit8(0)", ".5", "0.50"};
        QTest::newRow("comma under Dutch") << QStringList {"nl", "CWNumEdit1", "12,5", "12,50"};
        QTest::newRow("comma refused under C") << QStringList {"C", "CWNumEdit1", "12,5", "125.00"};
        QTest::newRow("letters are no number") << QStringList {"C", "CWNumEdit1", "abc", "10.00"};
        QTest::newRow("nor is a lone minus") << QStringList {"nl", "CWNumEdit1", "-", "10,00"};
    }
    void typing()
    {
        QFETCH(QStringList, typed);
        m_fixture = std::make_unique<FormFixture>(typed[0] == "nl");
        auto *edit = form().findChild<CWNumEdit *>(typed[1]);
        const QString before = edit->lineEdit()->text();
        QSignalSpy changed(edit, &CWNumEdit::valueChanged);
        edit->lineEdit()->setFocus();
        edit->lineEdit()->selectAll();
        QTest::keyClicks(edit->lineEdit(), typed[2]);
        QCOMPARE(changed.count(), 0); // nothing is taken while typing
        QTest::keyClick(edit->lineEdit(), Qt::Key_Return);
        QCOMPARE(edit->lineEdit()->text(), typed[3]);
        QVERIFY(edit->Value() == QLocale().toDouble(typed[3]) && changed.count() == (typed[3] != before));
    }

    // K's buttons and arrow keys alike stay within 0..1, in tenths that land on tenths.
    void stepping()
    {
        FormFixture::click(form().Check1);
        CWNumEdit *k = form().CWNumEdit7;
        for (const double start : {0.2, 0.5, 1.5}) {
            for (const bool keys : {false, true}) {
                k->setValue(start);
                for (int i = 0; i < 4; ++i)
                    keys ? QTest::keyClick(k->lineEdit(), start < 1 ? Qt::Key_Down : Qt::Key_Up)
                         : QTest::mouseClick(start < 1 ? k->downButton() : k->upButton(), Qt::LeftButton);
                QVERIFY2(k->Value()
                             == (start == 0.5    ? 0.1
                                     : start < 1 ? 0.0
                                                 : 1.0),
                         qPrintable(QString::number(start)));
            }
        }
    }
};

QTEST_MAIN(TestForm1Controls)
#include "tst_form1_controls.moc"
