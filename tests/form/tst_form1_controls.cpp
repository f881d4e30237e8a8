// The window as its control table builds it: size, caption, places of the controls,
// captions that fit, the focus order, the design state and the limits of the inputs.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "frame_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestForm1Controls : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

    // The control a focused widget belongs to (the field inside a numeric input).
    static QString controlName(QWidget *focused)
    {
        for (QWidget *w = focused; w; w = w->parentWidget())
            if (qobject_cast<CWNumEdit *>(w) || qobject_cast<QComboBox *>(w))
                return w->objectName();
        return focused ? focused->objectName() : QStringLiteral("(none)");
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<FormFixture>();
        QVERIFY(m_fixture->show());
    }
    void cleanup()
    {
        QVERIFY2(m_fixture->guard.unexpected().isEmpty(),
                 qPrintable(m_fixture->guard.unexpected().join('\n')));
        m_fixture.reset();
    }

    void window()
    {
        QCOMPARE(form().windowTitle(),
                 QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003"));
        QCOMPARE(form().size(), QSize(710, 551));
        QCOMPARE(form().minimumSize(), form().maximumSize());
        QCOMPARE(form().font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(form().font().pointSizeF(), 8.25);
        QCOMPARE(form().label(QStringLiteral("Label15"))->font().pointSizeF(), 12.0);
        QCOMPARE(form().palette().color(QPalette::Window), QColor(0xEC, 0xDD, 0xC8));
        QCOMPARE(form().Command2->palette().color(QPalette::Button), QColor(0xEC, 0xDD, 0xC8));
        if (const QByteArray path = qgetenv("WARMTEGLOED_SCREENSHOT"); !path.isEmpty())
            form().grab().save(QString::fromLocal8Bit(path));
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Frame2") << "Frame2" << "Form1" << QRect(8, 8, 697, 353);
        QTest::newRow("Frame1") << "Frame1" << "Form1" << QRect(8, 368, 281, 177);
        QTest::newRow("Frame3") << "Frame3" << "Form1" << QRect(296, 368, 409, 177);
        QTest::newRow("B input") << "CWNumEdit1" << "Frame2" << QRect(184, 24, 41, 17);
        QTest::newRow("y input") << "CWNumEdit9" << "Frame2" << QRect(184, 152, 41, 17);
        QTest::newRow("K unit") << "Label15" << "Frame2" << QRect(240, 328, 17, 17);
        QTest::newRow("two-line label") << "Label7" << "Frame2" << QRect(16, 120, 145, 41);
        QTest::newRow("sketch") << "Image1" << "Frame2" << QRect(256, 56, 435, 286);
        QTest::newRow("black logo") << "Picture1" << "Frame2" << QRect(560, 272, 65, 49);
        QTest::newRow("screen switch") << "Check1" << "Frame2" << QRect(16, 240, 161, 17);
        QTest::newRow("point 5 height") << "CWNumEdit8(4)" << "Frame1" << QRect(184, 152, 41, 17);
        QTest::newRow("point 1 result") << "Text2(0)" << "Frame3" << QRect(160, 24, 41, 19);
        QTest::newRow("wide unit") << "Label9(0)" << "Frame3" << QRect(216, 24, 49, 17);
        QTest::newRow("narrow unit") << "Label9(1)" << "Frame3" << QRect(216, 56, 33, 17);
        QTest::newRow("Help") << "Command3" << "Frame3" << QRect(304, 120, 81, 41);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, pixels);
        auto *control = form().findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget() == &form() ? QStringLiteral("Form1")
                                                    : control->parentWidget()->objectName(),
                 container);
        QCOMPARE(control->geometry(), pixels);
    }

    // Result i stands level with the height of point i.
    void resultRowsLevelWithHeights()
    {
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form().Text2[i]->mapTo(&form(), QPoint()).y(),
                     form().CWNumEdit8[i]->mapTo(&form(), QPoint()).y());
    }

    void captionsFit()
    {
        for (QLabel *label : form().findChildren<QLabel *>()) {
            if (!label->objectName().startsWith(QLatin1String("Label")) && label->objectName() != "H")
                continue;
            const QFontMetrics metrics = label->fontMetrics();
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 1000),
                                                      Qt::TextWordWrap, label->text());
            // A single line may be taller than its box as long as the ink is inside.
            const bool inkFits = metrics.horizontalAdvance(label->text()) <= label->width()
                && metrics.ascent() + metrics.tightBoundingRect(label->text()).bottom() < label->height();
            QVERIFY2(needed.width() <= label->width() && (needed.height() <= label->height() || inkFits),
                     qPrintable(label->objectName() + ": " + label->text()));
        }
        for (QWidget *box : {static_cast<QWidget *>(form().Check1), static_cast<QWidget *>(form().Check2),
                             static_cast<QWidget *>(form().Check3), static_cast<QWidget *>(form().Command1),
                             static_cast<QWidget *>(form().Command2), static_cast<QWidget *>(form().Command3)})
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->objectName()));
        for (FrameBox *frame : {form().Frame1, form().Frame2, form().Frame3})
            QVERIFY(frame->fontMetrics().horizontalAdvance(frame->caption()) < frame->width());
        for (CWNumEdit *edit : form().findChildren<CWNumEdit *>())
            QVERIFY2(edit->lineEdit()->fontMetrics().horizontalAdvance(edit->lineEdit()->text())
                         <= edit->lineEdit()->width(),
                     qPrintable(edit->objectName()));
    }

    void captions()
    {
        QCOMPARE(form().label(QStringLiteral("Label23"))->text(), QStringLiteral("Positie beoordelingspunt "));
        QCOMPARE(form().label(QStringLiteral("H"))->text(), QStringLiteral("Hoogte afscherming"));
        QCOMPARE(form().label(QStringLiteral("Label9(3)"))->text(), QStringLiteral("kW/m\u00b2"));
        QCOMPARE(form().label(QStringLiteral("Label21"))->text(), QStringLiteral("Warmtestralingsniveau "));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form().label(QStringLiteral("Label1(%1)").arg(i))->text(),
                     QStringLiteral("Hoogte beoordelingspunt %1:").arg(i + 1));
        QCOMPARE(form().Combo1->currentText(), QStringLiteral("AmvB Bouw- en Houtbedrijven"));
        QCOMPARE(form().Combo1->count(), 0);
        QCOMPARE(form().Command2->text(), QStringLiteral("Bereken"));
    }

    void tabOrder_data()
    {
        QTest::addColumn<bool>("screen");
        QTest::addColumn<QStringList>("order");
        const QStringList head{"CWNumEdit1", "CWNumEdit2", "CWNumEdit3", "CWNumEdit4",
                               "CWNumEdit9", "Check3", "Check2", "Check1"};
        const QStringList tail{"CWNumEdit8(0)", "CWNumEdit8(1)", "CWNumEdit8(2)", "CWNumEdit8(3)",
                               "CWNumEdit8(4)", "Command2", "Command1", "Command3", "Combo1",
                               "CWNumEdit1"};
        QTest::newRow("screen inputs off") << false << head + tail;
        QTest::newRow("screen inputs on")
            << true << head + QStringList{"CWNumEdit5", "CWNumEdit6", "CWNumEdit7"} + tail;
    }
    void tabOrder()
    {
        QFETCH(bool, screen);
        QFETCH(QStringList, order);
        if (screen)
            QTest::mouseClick(form().Check1, Qt::LeftButton, {}, QPoint(8, form().Check1->height() / 2));
        form().CWNumEdit1->setFocus(Qt::TabFocusReason);
        QStringList visited{controlName(QApplication::focusWidget())};
        while (visited.size() < order.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << controlName(QApplication::focusWidget());
        }
        QCOMPARE(visited, order);
    }

    void opensWithFocusOnWidth()
    {
        QVERIFY(form().CWNumEdit1->hasFocus());
    }

    void designState()
    {
        for (CWNumEdit *screenInput : {form().CWNumEdit5, form().CWNumEdit6, form().CWNumEdit7})
            QVERIFY(!screenInput->isEnabled());
        QCOMPARE(form().CWNumEdit5->lineEdit()->text(), QStringLiteral(".00"));
        QCOMPARE(form().CWNumEdit7->lineEdit()->text(), QStringLiteral("1.00"));
        QCOMPARE(form().CWNumEdit8[0]->lineEdit()->text(), QStringLiteral("2.50"));
        for (QCheckBox *option : {form().Check1, form().Check2, form().Check3}) {
            QVERIFY(option->isEnabled());
            QCOMPARE(option->checkState(), Qt::Unchecked);
        }
        for (CWNumEdit *input : {form().CWNumEdit1, form().CWNumEdit2, form().CWNumEdit3,
                                 form().CWNumEdit4, form().CWNumEdit9})
            QVERIFY(input->isEnabled());
        for (int i = 0; i < 5; ++i) {
            QVERIFY(form().CWNumEdit8[i]->isEnabled());
            QVERIFY(form().Text2[i]->text().isEmpty());
        }
    }

    // The buttons of an input never leave its limits.
    void limits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("reached");
        QTest::newRow("x not below its start") << "CWNumEdit4" << -2 << 5.0;
        QTest::newRow("H not above 15") << "CWNumEdit3" << 9 << 15.0;
        QTest::newRow("y beside the storage") << "CWNumEdit9" << -120 << -100.0;
        QTest::newRow("B not below 2") << "CWNumEdit1" << -10 << 2.0;
        QTest::newRow("point 1 not below 0") << "CWNumEdit8(0)" << -3 << 0.0;
        QTest::newRow("point 5 not above 100") << "CWNumEdit8(4)" << 90 << 100.0;
    }
    void limits()
    {
        QFETCH(QString, name);
        QFETCH(int, steps);
        QFETCH(double, reached);
        auto *input = form().findChild<CWNumEdit *>(name);
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::mouseClick(steps > 0 ? static_cast<QWidget *>(input->upButton())
                                        : static_cast<QWidget *>(input->downButton()),
                              Qt::LeftButton);
        QCOMPARE(input->Value(), reached);
    }

    void efficiencyStepsInTenths()
    {
        QTest::mouseClick(form().Check1, Qt::LeftButton, {}, QPoint(8, form().Check1->height() / 2));
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(form().CWNumEdit7->downButton(), Qt::LeftButton);
        QCOMPARE(form().CWNumEdit7->lineEdit()->text(), QStringLiteral(".60"));
        for (int i = 0; i < 6; ++i)
            QTest::mouseClick(form().CWNumEdit7->upButton(), Qt::LeftButton);
        QCOMPARE(form().CWNumEdit7->Value(), 1.0);
    }
};

QTEST_MAIN(TestForm1Controls)
#include "tst_form1_controls.moc"
