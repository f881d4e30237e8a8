// The window's colours are its own: under a dark desktop palette it draws exactly the pixels it
// draws under the light one, and every text it shows stands out from what it is drawn on.

#include "cw_num_edit.h"
#include "form_fixture.h"
#include "frame_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <cmath>
#include <functional>

namespace {

// The colour roles a desktop scheme sets, in the order qt6ct writes them.
const QPalette::ColorRole SchemeRoles[] = {
    QPalette::WindowText,    QPalette::Button,
    QPalette::Light,         QPalette::Midlight,
    QPalette::Dark,          QPalette::Mid,
    QPalette::Text,          QPalette::BrightText,
    QPalette::ButtonText,    QPalette::Base,
    QPalette::Window,        QPalette::Shadow,
    QPalette::Highlight,     QPalette::HighlightedText,
    QPalette::Link,          QPalette::LinkVisited,
    QPalette::AlternateBase, QPalette::ToolTipBase,
    QPalette::ToolTipText,   QPalette::PlaceholderText,
};

// A desktop scheme: the colours of the active and inactive windows, and of disabled controls.
QPalette scheme(const QStringList &colours, const QStringList &disabled)
{
    QPalette palette;
    for (int i = 0; i < colours.size(); ++i) {
        palette.setColor(QPalette::Active, SchemeRoles[i], QColor(colours[i]));
        palette.setColor(QPalette::Inactive, SchemeRoles[i], QColor(colours[i]));
        palette.setColor(QPalette::Disabled, SchemeRoles[i], QColor(disabled[i]));
    }
    return palette;
}

// qt6ct's "darker" scheme: white texts on dark grey.
QPalette darker()
{
    return scheme({"#ffffff", "#424242", "#979797", "#5e5e5e", "#4a4a4a", "#3c3c3c",  "#ffffff",
                   "#ffffff", "#ffffff", "#3c3c3c", "#323232", "#000000", "#12608a",  "#f9f9f9",
                   "#0986d3", "#a70b06", "#5c5b5a", "#3f3f36", "#ffffff", "#80ffffff"},
                  {"#808080", "#424242", "#979797", "#5e5e5e", "#4a4a4a", "#3c3c3c",  "#808080",
                   "#ffffff", "#808080", "#3c3c3c", "#323232", "#000000", "#12608a",  "#808080",
                   "#0986d3", "#a70b06", "#5c5b5a", "#3f3f36", "#ffffff", "#80ffffff"});
}

// A high-contrast scheme: yellow on black, with black selections on yellow.
QPalette yellowOnBlack()
{
    const QStringList colours {"#ffff00", "#000000", "#404040", "#202020", "#808080", "#606060", "#ffff00",
                               "#ffffff", "#ffff00", "#000000", "#000000", "#000000", "#ffff00", "#000000",
                               "#00ffff", "#ff00ff", "#101010", "#000000", "#ffff00", "#808000"};
    return scheme(colours, colours);
}

double channel(int value)
{
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(QRgb c)
{
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A text's contrast with its ground, measured in a picture of the control: the ground is the
// commonest colour of the area the text is drawn in, the text the colour that stands out most.
double textContrast(QWidget *control, const QRect &area)
{
    const QImage picture = control->grab().toImage();
    const QRect inside = area.intersected(picture.rect());
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[picture.pixel(x, y)];
    }
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(ground))
            ground = it.key();
    }
    double highest = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        highest = std::max(highest, contrast(it.key(), ground));
    return highest;
}

// Where each kind of control draws its text.
QRect textArea(QWidget *control)
{
    if (auto *frame = qobject_cast<FrameBox *>(control))
        return frame->captionRect();
    if (qobject_cast<QCheckBox *>(control)) {
        const QStyle *style = control->style();
        const int box = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control)
            + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control);
        return control->rect().adjusted(box, 0, 0, 0);
    }
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, text, button->rect());
    }
    if (qobject_cast<QLineEdit *>(control))
        return control->rect().adjusted(2, 2, -2, -2); // inside the frame of a framed box
    return control->rect();
}

using Controls = std::function<QList<QWidget *>(Form1 &)>;

template<typename T> QList<QWidget *> all(Form1 &form)
{
    QList<QWidget *> found;
    for (T *control : form.findChildren<T *>())
        found << control;
    return found;
}

} // namespace

class TestForm1Look : public QObject
{
    Q_OBJECT

    QPalette m_desktop;

    // The window with its results shown, under `palette` as the desktop's, drawn as a picture
    // (also saved as venster-<scheme>.png where WARMTEGLOED_SCREENSHOTS names a folder).
    QImage windowUnder(const QPalette &palette, const QString &scheme)
    {
        QApplication::setPalette(palette);
        FormFixture fixture(true);
        fixture.form->Command2_Click();
        const QImage picture = fixture.form->grab().toImage();
        if (const QString folder = qEnvironmentVariable("WARMTEGLOED_SCREENSHOTS"); !folder.isEmpty())
            picture.save(QDir(folder).filePath(QStringLiteral("venster-%1.png").arg(scheme)));
        return picture;
    }

private slots:
    void initTestCase()
    {
        m_desktop = QApplication::palette();
        QApplication::setCursorFlashTime(0); // the field with the focus shows its cursor all the time
    }
    void cleanup() { QApplication::setPalette(m_desktop); }

    // Every pixel as under the light scheme: the beige ground, black texts, white fields.
    void samePixelsUnderAnyScheme_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("qt6ct darker") << darker();
        QTest::newRow("yellow on black") << yellowOnBlack();
    }
    void samePixelsUnderAnyScheme()
    {
        QFETCH(QPalette, palette);
        const QImage light = windowUnder(QApplication::style()->standardPalette(), QStringLiteral("licht"));
        const QImage dark = windowUnder(palette, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(dark.size(), light.size());
        int differing = 0;
        for (int y = 0; y < light.height(); ++y) {
            for (int x = 0; x < light.width(); ++x)
                differing += light.pixel(x, y) != dark.pixel(x, y);
        }
        QCOMPARE(differing, 0);
    }

    // Texts readable in a dark scheme (at least 4.5 : 1), measured in the pictures the controls
    // draw; the numeric inputs and result boxes without the focus, whose selection has the
    // desktop's usual colours.
    void readableUnderDarkScheme_data()
    {
        QTest::addColumn<Controls>("controls");
        QTest::addColumn<int>("count");
        QTest::newRow("labels") << Controls(all<QLabel>) << 44;
        QTest::newRow("frame titles") << Controls(all<FrameBox>) << 3;
        QTest::newRow("check boxes") << Controls(all<QCheckBox>) << 3;
        QTest::newRow("buttons") << Controls(all<QPushButton>) << 3;
        QTest::newRow("numeric inputs") << Controls([](Form1 &form) {
            QList<QWidget *> fields;
            for (CWNumEdit *edit : form.findChildren<CWNumEdit *>()) {
                if (edit->isEnabled())
                    fields << edit->lineEdit();
            }
            return fields;
        }) << 10;
        QTest::newRow("result boxes")
            << Controls([](Form1 &form) { return QList<QWidget *>(form.Text2.cbegin(), form.Text2.cend()); })
            << 5;
        QTest::newRow("regulation") << Controls([](Form1 &form) {
            return QList<QWidget *> {form.Combo1->lineEdit()};
        }) << 1;
    }
    void readableUnderDarkScheme()
    {
        QFETCH(Controls, controls);
        QFETCH(int, count);
        QApplication::setPalette(darker());
        FormFixture fixture(true);
        fixture.form->Command2_Click();
        fixture.form->Command2->setFocus();
        const QList<QWidget *> found = controls(*fixture.form);
        QCOMPARE(found.size(), count);
        for (QWidget *control : found) {
            const double ratio = textContrast(control, textArea(control));
            const QString name =
                control->objectName().isEmpty() ? control->parent()->objectName() : control->objectName();
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 : 1").arg(name).arg(ratio, 0, 'f', 2)));
        }
    }
};

QTEST_MAIN(TestForm1Look)
#include "tst_form1_look.moc"
