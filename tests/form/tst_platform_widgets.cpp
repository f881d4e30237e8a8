// The numeric input: typed text and how it is shown, stepping within the bounds, the
// larger step of a held button, and its notifications.

#include "cw_num_edit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using platform::CWNumEdit;

// An input (0..1 unless told) with its whole text selected, and a second one to leave it for.
struct Host
{
    QWidget window;
    CWNumEdit *edit = new CWNumEdit(&window);
    CWNumEdit *other = new CWNumEdit(&window);
    Host(double value, const QString &format = QStringLiteral("#.#0"), double maximum = 1, double step = 0.1)
    {
        other->move(0, 30);
        edit->resize(41, 17);
        edit->setRange(0, maximum);
        edit->setSteps(step, 5);
        edit->setFormat(format);
        edit->setValue(value);
        window.show();
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window))
            edit->lineEdit()->setFocus();
        edit->lineEdit()->selectAll();
    }
};

class TestPlatformWidgets : public QObject
{
    Q_OBJECT

private slots:
    void typing_data()
    {
        QTest::addColumn<QString>("typed"); // "nl:" in front: under a Dutch locale
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("taken");
        QTest::addColumn<QString>("shown");
        QTest::newRow("point") << "12.5" << "#.#0" << 12.5 << "12.50";
        QTest::newRow("hash drops a lone zero") << "0.5" << "#.#0" << 0.5 << ".50";
        QTest::newRow("zero forces the digit") << "-.25" << "0.#0" << -0.25 << "-0.25";
        QTest::newRow("no minus on a shown zero") << "-0.001" << "0.#0" << -0.001 << "0.00";
        QTest::newRow("comma under Dutch") << "nl:12,5" << "#.#0" << 12.5 << "12,50";
        QTest::newRow("point under Dutch") << "nl:0.5" << "0.#0" << 0.5 << "0,50";
        QTest::newRow("comma refused under C") << "12,5" << "#.#0" << 125.0 << "125.00";
        QTest::newRow("above maximum kept") << "1.5" << "#.#0" << 1.5 << "1.50";
        QTest::newRow("lone minus is no number") << "-" << "#.#0" << 10.0 << "10.00";
        QTest::newRow("lone comma is no number") << "nl:," << "#.#0" << 10.0 << "10,00";
        QTest::newRow("letters refused") << "abc" << "#.#0" << 10.0 << "10.00";
        QTest::newRow("second separator refused") << "1.2.3" << "#.#0" << 1.23 << "1.23";
    }
    void typing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, format);
        QFETCH(double, taken);
        QFETCH(QString, shown);
        const bool dutch = typed.startsWith(QLatin1String("nl:"));
        QLocale::setDefault(dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c());
        Host host(10, format);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged);
        QTest::keyClicks(host.edit->lineEdit(), typed.mid(dutch ? 3 : 0));
        QCOMPARE(host.edit->Value(), 10.0); // nothing is taken while typing
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_Return);
        QCOMPARE(host.edit->Value(), taken);
        QCOMPARE(host.edit->lineEdit()->text(), shown);
        QCOMPARE(changed.count(), taken == 10 ? 0 : 1); // text that is no number changes nothing
    }

    // Buttons and arrow keys alike stay within 0..1, in tenths that land on tenths.
    void stepping()
    {
        QLocale::setDefault(QLocale::c());
        for (const double start : {0.2, 0.5, 1.5}) {
            Host buttons(start), keys(start);
            for (int i = 0; i < 4; ++i) {
                QTest::mouseClick(start < 1 ? buttons.edit->downButton() : buttons.edit->upButton(), Qt::LeftButton);
                QTest::keyClick(keys.edit->lineEdit(), start < 1 ? Qt::Key_Down : Qt::Key_Up);
            }
            const double expected = start == 0.5 ? 0.1 : start < 1 ? 0.0 : 1.0;
            QVERIFY2(buttons.edit->Value() == expected && keys.edit->Value() == expected, qPrintable(QString::number(start)));
        }
    }

    void heldButtonTakesTheLargerStep()
    {
        Host host(10, QStringLiteral("#.#0"), 10000, 1);
        QTest::mousePress(host.edit->upButton(), Qt::LeftButton); // one step, then one more at the first repeat
        QTest::qWait(CWNumEdit::RepeatDelay + 8 * CWNumEdit::RepeatInterval);
        QTest::mouseRelease(host.edit->upButton(), Qt::LeftButton);
        const double larger = host.edit->Value() - 12;
        QTest::qWait(3 * CWNumEdit::RepeatInterval);
        QVERIFY2(larger >= 5 && std::fmod(larger, 5) == 0 && host.edit->Value() == larger + 12, qPrintable(QString::number(larger)));
    }

    void notifications()
    {
        QLocale::setDefault(QLocale::c());
        Host host(10, QStringLiteral("#.#0"), 100, 1);
        QSignalSpy changed(host.edit, &CWNumEdit::valueChanged), typed(host.edit, &CWNumEdit::keyTyped),
            mouse(host.edit, &CWNumEdit::mouseButtonPressed), left(host.edit, &CWNumEdit::focusLeft);
        host.edit->setValue(10); // a program write counts, even of the same value
        QTest::keyClick(host.edit->lineEdit(), Qt::Key_End); // moving the cursor types nothing
        QTest::keyClicks(host.edit->lineEdit(), QStringLiteral("5"));
        QTest::mouseClick(host.edit->downButton(), Qt::LeftButton);
        QCOMPARE(host.edit->Value(), 9.005); // the typed 10.005 was taken before the step
        double seenOnLeaving = 0;
        connect(host.edit, &CWNumEdit::focusLeft, this, [&] { seenOnLeaving = host.edit->Value(); });
        host.edit->lineEdit()->selectAll();
        QTest::keyClicks(host.edit->lineEdit(), QStringLiteral("42"));
        host.other->lineEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(seenOnLeaving, 42.0); // taken before focus left is told
        QCOMPARE(QList<qsizetype>({changed.count(), typed.count(), mouse.count(), left.count()}), QList<qsizetype>({4, 3, 1, 1}));
    }
};

QTEST_MAIN(TestPlatformWidgets)
#include "tst_platform_widgets.moc"
