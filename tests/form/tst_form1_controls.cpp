// The window as its control table builds it: size and caption, places of controls,
// captions that fit, the focus order, the design state and the pictures.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "picture_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

class TestForm1Controls : public QObject
{
    Q_OBJECT

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

private slots:
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup() { QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog"); }

    void window()
    {
        QCOMPARE(form().windowTitle(), QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003"));
        QVERIFY(form().minimumSize() == QSize(710, 551) && form().maximumSize() == QSize(710, 551));
        QVERIFY(form().CWNumEdit1->hasFocus());
        QCOMPARE(form().label(QStringLiteral("Label15"))->font().pointSizeF(), 12.0);
        QCOMPARE(form().Command2->palette().color(QPalette::Button), QColor(0xEC, 0xDD, 0xC8));
        if (const QByteArray path = qgetenv("WARMTEGLOED_SCREENSHOT"); !path.isEmpty())
            form().grab().save(QString::fromLocal8Bit(path)); // for a person to look at
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Frame3") << "Frame3" << "Form1" << QRect(296, 368, 409, 177);
        QTest::newRow("black logo") << "Picture1" << "Frame2" << QRect(560, 272, 65, 49);
        QTest::newRow("point 5 height") << "CWNumEdit8(4)" << "Frame1" << QRect(184, 152, 41, 17);
        QTest::newRow("Help") << "Command3" << "Frame3" << QRect(304, 120, 81, 41);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, pixels);
        auto *control = form().findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), container);
        QCOMPARE(control->geometry(), pixels);
        for (int i = 0; i < 5; ++i) // result i stands level with the height of point i
            QCOMPARE(form().Text2[i]->mapTo(&form(), QPoint()).y(), form().CWNumEdit8[i]->mapTo(&form(), QPoint()).y());
    }

    void captionsFit()
    {
        for (QLabel *label : form().findChildren<QLabel *>()) {
            const QFontMetrics metrics = label->fontMetrics();
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text());
            // A single line may be taller than its box as long as the ink is inside.
            const bool inkFits = metrics.horizontalAdvance(label->text()) <= label->width()
                && metrics.ascent() + metrics.tightBoundingRect(label->text()).bottom() < label->height();
            QVERIFY2(needed.width() <= label->width() && (needed.height() <= label->height() || inkFits),
                     qPrintable(label->objectName() + ": " + label->text()));
        }
        QVERIFY(form().Check2->sizeHint().width() <= form().Check2->width());
        QVERIFY(form().Combo1->fontMetrics().horizontalAdvance(form().Combo1->currentText()) < form().Combo1->lineEdit()->width() - 4);
    }

    void tabOrder_data()
    {
        QTest::addColumn<bool>("screen");
        QTest::addColumn<QString>("order");
        const QString head = "CWNumEdit1 CWNumEdit2 CWNumEdit3 CWNumEdit4 CWNumEdit9 Check3 Check2 Check1 ";
        const QString tail = "CWNumEdit8(0) CWNumEdit8(1) CWNumEdit8(2) CWNumEdit8(3) CWNumEdit8(4) "
                             "Command2 Command1 Command3 Combo1 CWNumEdit1";
        QTest::newRow("screen off") << false << head + tail;
        QTest::newRow("screen on") << true << head + "CWNumEdit5 CWNumEdit6 CWNumEdit7 " + tail;
    }
    void tabOrder()
    {
        QFETCH(bool, screen);
        QFETCH(QString, order);
        form().Check1->setChecked(screen);
        form().Check1_Click();
        form().CWNumEdit1->setFocus(Qt::TabFocusReason);
        QStringList visited;
        while (visited.size() <= order.count(' ')) {
            QWidget *focused = QApplication::focusWidget();
            if (focused->objectName().isEmpty()) // the field inside a numeric input or the combo box
                focused = focused->parentWidget();
            visited << focused->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited.join(' '), order);
    }

    void designState()
    {
        QString state;
        for (QWidget *control : form().findChildren<QWidget *>(QRegularExpression("^(CWNumEdit|Check|Text2)"))) {
            auto *edit = qobject_cast<CWNumEdit *>(control);
            auto *check = qobject_cast<QCheckBox *>(control);
            state += QStringLiteral(" %1%2=%3").arg(control->isEnabled() ? "" : "-", control->objectName(),
                edit ? edit->lineEdit()->text() : check ? QString::number(check->checkState()) : static_cast<QLineEdit *>(control)->text());
        }
        QCOMPARE(state, QStringLiteral(" CWNumEdit1=10.00 CWNumEdit2=10.00 CWNumEdit3=8.00 CWNumEdit4=5.00 CWNumEdit9=5.00"
                                       " Check3=0 Check2=0 Check1=0 -CWNumEdit5=.00 -CWNumEdit6=.00 -CWNumEdit7=1.00"
                                       " CWNumEdit8(0)=2.50 CWNumEdit8(1)=5.00 CWNumEdit8(2)=7.50 CWNumEdit8(3)=10.00"
                                       " CWNumEdit8(4)=12.50 Text2(0)= Text2(1)= Text2(2)= Text2(3)= Text2(4)="));
        QVERIFY(form().CWNumEdit4->minimum() == 5 && form().CWNumEdit3->maximum() == 15 && form().CWNumEdit9->minimum() == -100);
        QVERIFY(form().CWNumEdit7->maximum() == 1 && form().CWNumEdit7->step() == 0.1 && form().CWNumEdit1->largerStep() == 5);
    }

    // The sketch fills its box; the black logo is handed over at its 102 x 43 pixels,
    // drawn finer for print, dark ink on a transparent ground, and cut off on screen.
    void pictures()
    {
        QVERIFY(form().Image1->hasPicture() && form().Image2->hasPicture());
        const QImage logo = form().picture1Image();
        QVERIFY(logo.deviceIndependentSize() == QSizeF(102, 43) && logo.width() >= 4 * 102);
        QCOMPARE(qAlpha(logo.pixel(0, logo.height() - 1)), 0);
        const QImage average = logo.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(qAlpha(average.pixel(0, 0)) > 20); // ink, not an empty picture
        QCOMPARE(form().Picture1->fit(), PictureBox::Fit::TopLeft);
    }
};

QTEST_MAIN(TestForm1Controls)
#include "tst_form1_controls.moc"
