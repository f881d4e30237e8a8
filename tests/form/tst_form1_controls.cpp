// The window as its control table builds it: the first focus, the results beside their
// heights, mnemonics and the names a screen reader reads; how its numeric inputs take a held
// button; and that every digit in them can be read.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "mnemonics.h"
#include "picture_box.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// The pixels the field's line edit gives its text: its contents less the text
// margins and the line edit's own two pixels on either side.
int room(const QLineEdit *line)
{
    const QMargins margins = line->textMargins();
    return line->contentsRect().width() - margins.left() - margins.right() - 4;
}

// A picture file as the build writes it: the header's four numbers, then the pixels.
QByteArray pixelFile(quint32 tag, quint32 width, quint32 height, quint32 format, qsizetype pixels)
{
    QByteArray file(16, '\0');
    for (const auto &[at, number] : {std::pair {0, tag}, {4, width}, {8, height}, {12, format}})
        qToLittleEndian(number, file.data() + at);
    for (qsizetype i = 0; i < pixels; ++i)
        file.append(reinterpret_cast<const char *>(&i), 4); // each pixel a different number
    return file;
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

    // The first focus, the results beside their heights and the pictures; tst_form1_handlers checks
    // the start-up values and which inputs are on.
    void layout()
    {
        QVERIFY(form().CWNumEdit1->hasFocus());
        for (int i = 0; i < 5; ++i) // result i stands level with the height of point i
            QCOMPARE(form().Text2[i]->mapTo(&form(), QPoint()).y(),
                     form().CWNumEdit8[i]->mapTo(&form(), QPoint()).y());
        QVERIFY(form().Image1->hasPicture());
        // The pictures come from the build's renderings at their shown sizes, not from the vectors.
        form().grab();
        for (const PictureBox *picture : {form().Image1, form().Image2, form().Picture1})
            QVERIFY2(picture->shownFromRendering(), qPrintable(picture->objectName()));
    }

    // No mnemonic leads to two controls; the planted rows show that the walk sees a pair.
    void mnemonics_data()
    {
        QTest::addColumn<QStringList>("captions"); // control=caption, planted before the walk
        QTest::addColumn<QString>("buddyOf");      // a label given a buddy, so its mnemonic counts
        QTest::addColumn<QStringList>("twice");
        QTest::newRow("as built") << QStringList() << QString() << QStringList();
        QTest::newRow("two buttons on B") << QStringList {"Command2=&Bereken", "Command1=&Bewaar"}
                                          << QString() << QStringList {"venster: Alt+B: &Bereken | &Bewaar"};
        QTest::newRow("a check box and a button, upper and lower case")
            << QStringList {"Check1=Afscherming aan&wezig", "Command3=&Wat"} << QString()
            << QStringList {"venster: Alt+W: &Wat | Afscherming aan&wezig"};
        QTest::newRow("a doubled ampersand is an ampersand")
            << QStringList {"Command2=&Bereken", "Command3=Help && &Bijstand"} << QString()
            << QStringList {"venster: Alt+B: &Bereken | Help && &Bijstand"};
        QTest::newRow("only a doubled ampersand")
            << QStringList {"Command2=&Bereken", "Command3=H&&B"} << QString() << QStringList();
        QTest::newRow("a label without a buddy has no mnemonic")
            << QStringList {"Command2=&Bereken", "Label3=&Breedte opslag"} << QString() << QStringList();
        QTest::newRow("a label with a buddy has one")
            << QStringList {"Command2=&Bereken", "Label3=&Breedte opslag"} << QString("Label3")
            << QStringList {"venster: Alt+B: &Bereken | &Breedte opslag"};
    }
    void mnemonics()
    {
        QFETCH(QStringList, captions);
        QFETCH(QString, buddyOf);
        QFETCH(QStringList, twice);
        for (const QString &planted : captions) {
            QWidget *control = form().findChild<QWidget *>(planted.section('=', 0, 0));
            QVERIFY2(control, qPrintable(planted));
            const QString caption = planted.section('=', 1);
            if (auto *button = qobject_cast<QAbstractButton *>(control))
                button->setText(caption);
            else
                qobject_cast<QLabel *>(control)->setText(caption);
        }
        if (!buddyOf.isEmpty())
            form().findChild<QLabel *>(buddyOf)->setBuddy(form().CWNumEdit1);
        QCOMPARE(mnemonics::duplicates(&form()), twice);
    }

    // Every control a user works or reads has a name for a screen reader: a field the captions
    // beside it (its row's labels, symbol and unit), a button or check box its own caption.
    void accessibleNames()
    {
        QList<QWidget *> controls;
        for (CWNumEdit *edit : form().findChildren<CWNumEdit *>())
            controls << edit->lineEdit();
        for (QLineEdit *box : form().Text2)
            controls << box;
        for (QWidget *other : form().findChildren<QWidget *>()) {
            if (qobject_cast<QAbstractButton *>(other) || qobject_cast<QComboBox *>(other))
                controls << other;
        }
        controls << form().Combo1->lineEdit();
        QCOMPARE(controls.size(), 13 + 5 + 3 + 3 + 1 + 1);
        for (QWidget *control : controls) {
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY(accessible);
            const QString name = accessible->text(QAccessible::Name);
            // The captions level with the control in its frame: text label, symbol and unit.
            auto *edit = qobject_cast<CWNumEdit *>(control->parentWidget());
            const QWidget *placed = edit ? edit : control;
            QStringList beside;
            if (auto *button = qobject_cast<QAbstractButton *>(control))
                beside << button->text(); // its own caption
            if (placed == form().Combo1)
                beside << form().Combo1->currentText(); // no caption: called by its text
            for (const QLabel *label : placed->parentWidget()->findChildren<QLabel *>()) {
                if (!qobject_cast<QLineEdit *>(control) || placed->parentWidget() == form().Combo1)
                    break;
                if (label->y() == placed->y() && label->text() != QLatin1String("-"))
                    beside << label->text().remove(':').trimmed();
            }
            const QString where = placed->objectName() + ": \"" + name + '"';
            QVERIFY2(!name.isEmpty(), qPrintable(where));
            for (const QString &caption : std::as_const(beside))
                QVERIFY2(name.contains(caption), qPrintable(where + " lacks " + caption));
        }
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

    // The pictures kept as bare pixels: a file that is not quite one is refused (the window
    // then draws the vectors), and the program's own are shown from its memory, not copied.
    void pixelFiles_data()
    {
        constexpr quint32 tag = 0x58504757;
        constexpr quint32 argb = QImage::Format_ARGB32_Premultiplied;
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("size"); // 0 x 0: refused
        QTest::newRow("3 x 2") << pixelFile(tag, 3, 2, argb, 6) << QSize(3, 2);
        QTest::newRow("one pixel short") << pixelFile(tag, 3, 2, argb, 5) << QSize(0, 0);
        QTest::newRow("one pixel over") << pixelFile(tag, 3, 2, argb, 7) << QSize(0, 0);
        QTest::newRow("another tag") << pixelFile(tag + 1, 3, 2, argb, 6) << QSize(0, 0);
        QTest::newRow("another format") << pixelFile(tag, 3, 2, QImage::Format_RGB32, 6) << QSize(0, 0);
        QTest::newRow("no width") << pixelFile(tag, 0, 2, argb, 0) << QSize(0, 0);
        QTest::newRow("wider than any picture") << pixelFile(tag, 4097, 1, argb, 4097) << QSize(0, 0);
        QTest::newRow("only a header") << pixelFile(tag, 3, 2, argb, 0).left(15) << QSize(0, 0);
    }
    void pixelFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QSize, size);
        QTemporaryDir folder;
        QFile written(folder.filePath(QStringLiteral("picture.pixels")));
        QVERIFY(written.open(QIODevice::WriteOnly));
        QCOMPARE(written.write(file), file.size());
        written.close();
        const QImage picture = readPixels(written.fileName());
        QCOMPARE(picture.size(), size);
        if (picture.isNull())
            return;
        QCOMPARE(picture.format(), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(picture.pixel(x, y), QRgb(y * size.width() + x));
        }
    }
    void programPixels()
    {
        const QString sketch = QStringLiteral(":/pictures/sketch-435x286.pixels");
        const QImage first = readPixels(sketch);
        QCOMPARE(first.size(), QSize(435, 286));
        QCOMPARE(readPixels(sketch).constBits(), first.constBits());
        QVERIFY(readPixels(QStringLiteral(":/pictures/sketch-1x1.pixels")).isNull());
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

    // What a numeric input lets through while it is typed in: digits, one decimal separator
    // (a point, or the user's own) and a leading minus; any other key is refused.
    void typing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a number with a point") << "C"
                                               << "-12.5"
                                               << "-12.5";
        QTest::newRow("letters and blanks refused") << "C"
                                                    << " 1e3x"
                                                    << "13";
        QTest::newRow("one minus, only in front") << "C"
                                                  << "--4-"
                                                  << "-4";
        QTest::newRow("one separator") << "C"
                                       << "1.2.3"
                                       << "1.23";
        QTest::newRow("a comma is no separator in C") << "C"
                                                      << "1,5"
                                                      << "15";
        QTest::newRow("only the digits 0 to 9") << "C" << QString::fromUtf8("7\u0663\uff18") << "7";
        QTest::newRow("Dutch comma") << "nl_NL"
                                     << "1,5"
                                     << "1,5";
        QTest::newRow("Dutch: a point too") << "nl_NL"
                                            << "-.5"
                                            << "-.5";
        QTest::newRow("Dutch: still one separator") << "nl_NL"
                                                    << "1,5.2"
                                                    << "1,52";
    }
    void typing()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        CWNumEdit edit;
        QLocale::setDefault(before);
        QLineEdit *line = edit.lineEdit();
        line->clear();
        for (const QChar key : typed) // keyClicks() knows no keys beyond ASCII
            QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(key), Qt::NoModifier);
        QCOMPARE(line->text(), shown);
    }
};

QTEST_MAIN(TestForm1Controls)
#include "tst_form1_controls.moc"
