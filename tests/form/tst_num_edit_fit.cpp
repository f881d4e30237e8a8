// Every digit readable: each numeric input of the window shows every value it takes
// whole, within its 41 pixels, and a number too long even for the smallest narrow
// type shows its start with an ellipsis, never its tail.

#include "cw_num_edit.h"
#include "form_fixture.h"

#include <QPushButton>

namespace {

// The pixels the field's line edit gives its text: its contents less the text
// margins and the line edit's own two pixels on either side.
int room(const QLineEdit *line)
{
    const QMargins margins = line->textMargins();
    return line->contentsRect().width() - margins.left() - margins.right() - 4;
}

} // namespace

class TestNumEditFit : public QObject
{
    Q_OBJECT

private slots:
    void fit_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("typed"); // typed, taken with Enter and left with Tab; else written
        QTest::addColumn<bool>("cut");   // too long for any size: start and ellipsis
        QTest::newRow("10000,00") << 10000.0 << false << false;
        QTest::newRow("-100,00") << -100.0 << false << false;
        QTest::newRow("typed 10000, Enter, Tab") << 10000.0 << true << false;
        QTest::newRow("typed 123456336, Enter, Tab") << 123456336.0 << true << true;
    }
    void fit()
    {
        QFETCH(double, value);
        QFETCH(bool, typed);
        QFETCH(bool, cut);
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

QTEST_MAIN(TestNumEditFit)
#include "tst_num_edit_fit.moc"
