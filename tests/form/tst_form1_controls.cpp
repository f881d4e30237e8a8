// The window as its control table builds it: the first focus, the results beside their
// heights; how its numeric inputs take a held button; and that every digit in them can be read.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "picture_box.h"

#include <QPushButton>
#include <QSignalSpy>

namespace {

// The pixels the field's line edit gives its text: its contents less the text
// margins and the line edit's own two pixels on either side.
int room(const QLineEdit *line)
{
    const QMargins margins = line->textMargins();
    return line->contentsRect().width() - margins.left() - margins.right() - 4;
}

} // namespace

class TestForm1Controls : public QObject
{
    Q_OBJECT

    std::unique_ptr<FormFixture> m_fixture;
    Form1 &form() { return *m_fixture->form; }

private slots:
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup()
    {
        if (m_fixture)
            QVERIFY2(m_fixture->guard.unexpected().isEmpty(), "unexpected modal dialog");
    }

    // The first focus, the results beside their heights and the logo; tst_form1_handlers checks
    // the start-up values and which inputs are on.
    void layout()
    {
        QVERIFY(form().CWNumEdit1->hasFocus());
        for (int i = 0; i < 5; ++i) // result i stands level with the height of point i
            QCOMPARE(form().Text2[i]->mapTo(&form(), QPoint()).y(),
                     form().CWNumEdit8[i]->mapTo(&form(), QPoint()).y());
        QVERIFY(form().Image1->hasPicture());
    }

    // A held button: one step at once, one more at the first repeat, then the larger step until it
    // is let go.
    void holding()
    {
        const QList<double> values {11, 12, 17, 22};
        CWNumEdit *edit = form().CWNumEdit1;
        QWidget *button = edit->upButton();
        QSignalSpy changed(edit, &CWNumEdit::valueChanged);
        QTest::mousePress(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= values.size(), 6 * CWNumEdit::RepeatDelay);
        QTest::mouseRelease(button, Qt::LeftButton);
        QList<double> seen;
        for (const QList<QVariant> &change : changed)
            seen << change.at(0).toDouble();
        QCOMPARE(seen.mid(0, values.size()), values);
        const qsizetype whenLetGo = changed.count();
        QTest::qWait(2 * CWNumEdit::RepeatDelay);
        QCOMPARE(changed.count(), whenLetGo);
    }

    // Every digit readable: each numeric input shows every value it takes whole, within its
    // 41 pixels; a number too long even for the smallest narrow type shows its start with an
    // ellipsis, never its tail.
    void fit_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("typed"); // typed, taken with Enter and left with Tab; else written
        QTest::addColumn<bool>("cut");   // too long for any size: start and ellipsis
        QTest::newRow("10000,00") << 10000.0 << false << false;
        QTest::newRow("typed 10000, Enter, Tab") << 10000.0 << true << false;
        QTest::newRow("typed 123456336, Enter, Tab") << 123456336.0 << true << true;
    }
    void fit()
    {
        QFETCH(double, value);
        QFETCH(bool, typed);
        QFETCH(bool, cut);
        m_fixture.reset();
        FormFixture fixture(true);
        const QList<CWNumEdit *> edits = fixture.form->findChildren<CWNumEdit *>();
        QCOMPARE(edits.size(), 13);
        fixture.form->Command2->setFocus(); // a field being edited shows its whole text
        for (CWNumEdit *edit : edits) {
            // Only the display is under test: no rule may correct the value.
            QObject::disconnect(edit, nullptr, fixture.form.get(), nullptr);
            edit->setEnabled(true);
            QLineEdit *line = edit->lineEdit();
            if (typed) {
                line->setFocus(Qt::TabFocusReason);
                QTest::keyClicks(line, QString::number(value, 'f', 0));
                QTest::keyClick(line, Qt::Key_Return);
                QTest::keyClick(line, Qt::Key_Tab);
                QVERIFY(!line->hasFocus());
            } else {
                edit->setValue(value);
            }
            QCOMPARE(edit->Value(), value);

            const QString whole = edit->displayText(value);
            const QString shown = line->text();
            const QString where = edit->objectName() + ": " + shown + " in " + line->font().family() + ' '
                + QString::number(line->font().pointSizeF());
            QVERIFY2(QFontMetrics(line->font(), line).horizontalAdvance(shown) <= room(line),
                     qPrintable(where));
            QVERIFY2(line->font().pointSizeF() >= 6, qPrintable(where));
            // A text cut at either side would darken the outermost columns of the field.
            const QImage picture = line->grab().toImage();
            const QRgb paper = line->palette().color(QPalette::Base).rgb();
            for (const int x : {0, picture.width() - 1}) {
                for (int y = 0; y < picture.height(); ++y)
                    QVERIFY2(picture.pixel(x, y) == paper, qPrintable(where));
            }
            if (!cut) {
                QCOMPARE(shown, whole);
                continue;
            }
            QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(where));
            QVERIFY2(shown.size() >= 5 && whole.startsWith(shown.chopped(1)), qPrintable(where));
            // Back in the field, the whole number is there to be edited.
            line->setFocus(Qt::TabFocusReason);
            QCOMPARE(line->text(), whole);
            line->clearFocus();
        }
    }
};

QTEST_MAIN(TestForm1Controls)
#include "tst_form1_controls.moc"
