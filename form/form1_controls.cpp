// The control table of Form1: every control with its name, container, caption,
// position and size in twips and tab index, then the numeric inputs with their
// values, limits, steps and formats. The window is built from these two tables.

#include "form1.h"

#include "application_look.h"
#include "cw_num_edit.h"
#include "form_texts.h"
#include "frame_box.h"
#include "picture_box.h"
#include "report_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <map>

namespace {

enum class Kind { Frame, Label, CheckBox, ComboBox, TextBox, Button, NumEdit, Image, Picture };

struct ControlRow
{
    Kind kind;
    const char *name;
    const char *container;        // nullptr: the window itself
    const char *caption;          // caption, text, or the picture's resource
    int left, top, width, height; // twips, from the container's top-left corner
    int tabIndex;                 // -1: none
    double points = 0;            // font size when not the window's 8.25 pt
};

constexpr int NoTab = -1;

// clang-format off
const ControlRow Controls[] = {
    // kind          name              container  caption                                   left   top  width height tab
    {Kind::Frame,    "Frame2",         nullptr,   "Invoer",                                  120,   120, 10455, 5295, 26},
    {Kind::Frame,    "Frame1",         nullptr,   "Beoordelingspunten",                      120,  5520,  4215, 2655,  0},
    {Kind::Frame,    "Frame3",         nullptr,   "Uitvoer",                                4440,  5520,  6135, 2655, 39},

    // Frame2 "Invoer": pictures first, so that the inputs lie above them.
    {Kind::Image,    "Image1",         "Frame2",  ":/pictures/sketch.svg",                  3840,   840,  6525, 4290, NoTab},
    {Kind::Image,    "Image2",         "Frame2",  ":/pictures/logo_colour.svg",             8520,   120,  1530,  645, NoTab},
    {Kind::Picture,  "Picture1",       "Frame2",  ":/pictures/logo_black.svg",              8400,  4080,   975,  735, 69},
    {Kind::Label,    "Label3",         "Frame2",  "Breedte opslag",                          240,   360,  1575,  375, NoTab},
    {Kind::Label,    "Label22(0)",     "Frame2",  "(B)",                                    2280,   360,   255,  255, NoTab},
    {Kind::NumEdit,  "CWNumEdit1",     "Frame2",  nullptr,                                  2760,   360,   615,  255,  1},
    {Kind::Label,    "Label10",        "Frame2",  "m",                                      3600,   360,   255,  255, NoTab},
    {Kind::Label,    "Label4",         "Frame2",  "Diepte opslag",                           240,   840,  1575,  375, NoTab},
    {Kind::Label,    "Label22(1)",     "Frame2",  "(D)",                                    2280,   840,   255,  255, NoTab},
    {Kind::NumEdit,  "CWNumEdit2",     "Frame2",  nullptr,                                  2760,   840,   615,  255,  2},
    {Kind::Label,    "Label11",        "Frame2",  "m",                                      3600,   840,   255,  255, NoTab},
    {Kind::Label,    "Label5",         "Frame2",  "Hoogte opslag",                           240,  1320,  2055,  615, NoTab},
    {Kind::Label,    "Label22(3)",     "Frame2",  "(H)",                                    2280,  1320,   255,  255, NoTab},
    {Kind::NumEdit,  "CWNumEdit3",     "Frame2",  nullptr,                                  2760,  1320,   615,  255,  3},
    {Kind::Label,    "Label12",        "Frame2",  "m",                                      3600,  1320,   255,  255, NoTab},
    {Kind::Label,    "Label7",         "Frame2",  "Afstand tussen opslag en beoordelingspunt", 240, 1800,  2175,  615, NoTab},
    {Kind::Label,    "Label22(4)",     "Frame2",  "(x)",                                    2280,  1800,   255,  255, NoTab},
    {Kind::NumEdit,  "CWNumEdit4",     "Frame2",  nullptr,                                  2760,  1800,   615,  255,  4},
    {Kind::Label,    "Label16(0)",     "Frame2",  "m",                                      3600,  1800,   255,  255, NoTab},
    {Kind::Label,    "Label23",        "Frame2",  "Positie beoordelingspunt ",               240,  2280,  2175,  615, NoTab},
    {Kind::Label,    "Label22(2)",     "Frame2",  "(y)",                                    2280,  2280,   255,  255, NoTab},
    {Kind::NumEdit,  "CWNumEdit9",     "Frame2",  nullptr,                                  2760,  2280,   615,  255,  5},
    {Kind::Label,    "Label16(1)",     "Frame2",  "m",                                      3600,  2280,   255,  255, NoTab},
    {Kind::CheckBox, "Check3",         "Frame2",  "Binnenopslag",                            240,  2640,  2415,  375,  6},
    {Kind::CheckBox, "Check2",         "Frame2",  "Compact gestapeld hout",                  240,  3120,  2415,  375,  7},
    {Kind::CheckBox, "Check1",         "Frame2",  "Afscherming aanwezig",                    240,  3600,  2415,  255,  8},
    {Kind::Label,    "H",              "Frame2",  "Hoogte afscherming",                      360,  3960,  1575,  255, NoTab},
    {Kind::Label,    "Label22(5)",     "Frame2",  "(hs)",                                   2280,  3960,   315,  255, NoTab}, // 255 clips "(hs)"
    {Kind::NumEdit,  "CWNumEdit5",     "Frame2",  nullptr,                                  2760,  3960,   615,  255,  9},
    {Kind::Label,    "Label13",        "Frame2",  "m",                                      3600,  3960,   255,  255, NoTab},
    {Kind::Label,    "Label6",         "Frame2",  "Afstand tussen scherm en de opslag",      360,  4440,  1695,  615, NoTab},
    {Kind::Label,    "Label22(6)",     "Frame2",  "(xs)",                                   2280,  4440,   315,  255, NoTab}, // 255 clips "(xs)"
    {Kind::NumEdit,  "CWNumEdit6",     "Frame2",  nullptr,                                  2760,  4440,   615,  255, 10},
    {Kind::Label,    "Label14",        "Frame2",  "m",                                      3600,  4440,   255,  255, NoTab},
    {Kind::Label,    "Label8",         "Frame2",  "Efficiency",                              360,  4920,  1335,  255, NoTab},
    {Kind::Label,    "Label22(7)",     "Frame2",  "(K)",                                    2280,  4920,   255,  255, NoTab},
    {Kind::NumEdit,  "CWNumEdit7",     "Frame2",  nullptr,                                  2760,  4920,   615,  255, 11},
    {Kind::Label,    "Label15",        "Frame2",  "-",                                      3600,  4920,   255,  255, NoTab, 12},
    {Kind::ComboBox, "Combo1",         "Frame2",  "AmvB Bouw- en Houtbedrijven",            4200,   360,  2700,  315, 27}, // 2535 clips the text

    // Frame1 "Beoordelingspunten": row i at 360 + 480 i.
    {Kind::Label,    "Label1(0)",      "Frame1",  "Hoogte beoordelingspunt 1:",              480,   360,  2055,  255, 20},
    {Kind::NumEdit,  "CWNumEdit8(0)",  "Frame1",  nullptr,                                  2760,   360,   615,  255, 12},
    {Kind::Label,    "Label2(0)",      "Frame1",  "m",                                      3600,   360,   255,  255, 21},
    {Kind::Label,    "Label1(1)",      "Frame1",  "Hoogte beoordelingspunt 2:",              480,   840,  2055,  255, 65},
    {Kind::NumEdit,  "CWNumEdit8(1)",  "Frame1",  nullptr,                                  2760,   840,   615,  255, 13},
    {Kind::Label,    "Label2(1)",      "Frame1",  "m",                                      3600,   840,   255,  255, 22},
    {Kind::Label,    "Label1(2)",      "Frame1",  "Hoogte beoordelingspunt 3:",              480,  1320,  2055,  255, 66},
    {Kind::NumEdit,  "CWNumEdit8(2)",  "Frame1",  nullptr,                                  2760,  1320,   615,  255, 14},
    {Kind::Label,    "Label2(2)",      "Frame1",  "m",                                      3600,  1320,   255,  255, 23},
    {Kind::Label,    "Label1(3)",      "Frame1",  "Hoogte beoordelingspunt 4:",              480,  1800,  2055,  255, 67},
    {Kind::NumEdit,  "CWNumEdit8(3)",  "Frame1",  nullptr,                                  2760,  1800,   615,  255, 15},
    {Kind::Label,    "Label2(3)",      "Frame1",  "m",                                      3600,  1800,   255,  255, 24},
    {Kind::Label,    "Label1(4)",      "Frame1",  "Hoogte beoordelingspunt 5:",              480,  2280,  2055,  255, 68},
    {Kind::NumEdit,  "CWNumEdit8(4)",  "Frame1",  nullptr,                                  2760,  2280,   615,  255, 16},
    {Kind::Label,    "Label2(4)",      "Frame1",  "m",                                      3600,  2280,   255,  255, 25},

    // Frame3 "Uitvoer": result row i level with height row i.
    {Kind::Label,    "Label17",        "Frame3",  "Warmtestralingsniveau ",                  360,   360,  1935,  255, 53},
    {Kind::TextBox,  "Text2(0)",       "Frame3",  "",                                       2400,   360,   615,  285, 44},
    {Kind::Label,    "Label9(0)",      "Frame3",  "kW/m\u00b2",                             3240,   360,   735,  255, 49},
    {Kind::Label,    "Label18",        "Frame3",  "Warmtestralingsniveau ",                  360,   840,  1935,  255, 54},
    {Kind::TextBox,  "Text2(1)",       "Frame3",  "",                                       2400,   840,   615,  285, 43},
    {Kind::Label,    "Label9(1)",      "Frame3",  "kW/m\u00b2",                             3240,   840,   495,  255, 48},
    {Kind::Label,    "Label19",        "Frame3",  "Warmtestralingsniveau ",                  360,  1320,  1935,  255, 55},
    {Kind::TextBox,  "Text2(2)",       "Frame3",  "",                                       2400,  1320,   615,  285, 42},
    {Kind::Label,    "Label9(2)",      "Frame3",  "kW/m\u00b2",                             3240,  1320,   495,  255, 47},
    {Kind::Label,    "Label20",        "Frame3",  "Warmtestralingsniveau ",                  360,  1800,  1935,  255, 56},
    {Kind::TextBox,  "Text2(3)",       "Frame3",  "",                                       2400,  1800,   615,  285, 41},
    {Kind::Label,    "Label9(3)",      "Frame3",  "kW/m\u00b2",                             3240,  1800,   495,  255, 46},
    {Kind::Label,    "Label21",        "Frame3",  "Warmtestralingsniveau ",                  360,  2280,  1935,  255, 57},
    {Kind::TextBox,  "Text2(4)",       "Frame3",  "",                                       2400,  2280,   615,  285, 40},
    {Kind::Label,    "Label9(4)",      "Frame3",  "kW/m\u00b2",                             3240,  2280,   495,  255, 45},
    {Kind::Button,   "Command2",       "Frame3",  "Bereken",                                4560,   360,  1215,  615, 17},
    {Kind::Button,   "Command1",       "Frame3",  "Print",                                  4560,  1080,  1215,  615, 18},
    {Kind::Button,   "Command3",       "Frame3",  "Help",                                   4560,  1800,  1215,  615, 19},
};

struct NumEditRow
{
    const char *name;
    double value, minimum, maximum, step, largerStep;
    const char *format;
    bool enabled;
};

const NumEditRow NumEdits[] = {
    // name            value  min     max   step  larger format  enabled    quantity
    {"CWNumEdit1",     10,     2,   10000,    1,    5,   "#.#0", true},  // B width
    {"CWNumEdit2",     10,     2,   10000,    1,    5,   "#.#0", true},  // D depth
    {"CWNumEdit3",      8,     0,      15,    1,    5,   "#.#0", true},  // H height
    {"CWNumEdit4",      5,     5,   10000,    1,    5,   "#.#0", true},  // x distance to the point
    {"CWNumEdit9",      5,  -100,   10000,    1,    5,   "#.#0", true},  // y position along the side
    {"CWNumEdit5",      0,     0,   10000,    1,    5,   "#.#0", false}, // hs screen height
    {"CWNumEdit6",      0,     0,   10000,    1,    5,   "#.#0", false}, // xs screen distance
    {"CWNumEdit7",      1,     0,       1,  0.1,  0.1,   "#.#0", false}, // K screen efficiency
    {"CWNumEdit8(0)", 2.5,     0,     100,    1,    5,   "0.#0", true},  // height of point 1
    {"CWNumEdit8(1)",   5,     0,     100,    1,    5,   "#.#0", true},  // height of point 2
    {"CWNumEdit8(2)", 7.5,     0,     100,    1,    5,   "#.#0", true},  // height of point 3
    {"CWNumEdit8(3)",  10,     0,     100,    1,    5,   "#.#0", true},  // height of point 4
    {"CWNumEdit8(4)", 12.5,    0,     100,    1,    5,   "0.#0", true},  // height of point 5
};

// What a screen reader calls the fields that have no caption of their own: the captions
// beside them, symbol and unit included. Nothing of it shows on the window.
struct AccessibleNameRow
{
    const char *name;
    const char *spoken;
};

const AccessibleNameRow AccessibleNames[] = {
    {"CWNumEdit1",    "Breedte opslag (B), m"},
    {"CWNumEdit2",    "Diepte opslag (D), m"},
    {"CWNumEdit3",    "Hoogte opslag (H), m"},
    {"CWNumEdit4",    "Afstand tussen opslag en beoordelingspunt (x), m"},
    {"CWNumEdit9",    "Positie beoordelingspunt (y), m"},
    {"CWNumEdit5",    "Hoogte afscherming (hs), m"},
    {"CWNumEdit6",    "Afstand tussen scherm en de opslag (xs), m"},
    {"CWNumEdit7",    "Efficiency (K)"}, // a fraction: its unit label is a dash
    {"CWNumEdit8(0)", "Hoogte beoordelingspunt 1, m"},
    {"CWNumEdit8(1)", "Hoogte beoordelingspunt 2, m"},
    {"CWNumEdit8(2)", "Hoogte beoordelingspunt 3, m"},
    {"CWNumEdit8(3)", "Hoogte beoordelingspunt 4, m"},
    {"CWNumEdit8(4)", "Hoogte beoordelingspunt 5, m"},
    {"Text2(0)",      "Warmtestralingsniveau punt 1, kW/m\u00b2"},
    {"Text2(1)",      "Warmtestralingsniveau punt 2, kW/m\u00b2"},
    {"Text2(2)",      "Warmtestralingsniveau punt 3, kW/m\u00b2"},
    {"Text2(3)",      "Warmtestralingsniveau punt 4, kW/m\u00b2"},
    {"Text2(4)",      "Warmtestralingsniveau punt 5, kW/m\u00b2"},
    {"Combo1",        "Regeling"}, // its field; the box itself is called by its text
};
// clang-format on

// The window is laid out in twips; Qt scales the device-independent pixels for
// high-density screens.
constexpr int TwipsPerPixel = 15;

QRect twipsToPixels(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

const QColor Beige(236, 221, 200); // &H00C8DDEC&

// The window keeps its own colours whatever the desktop's scheme: black texts on the beige
// ground, black on white in the fields. Every role is set, from the style's light standard
// colours, so that no white text of a dark scheme lands on the beige; the controls take
// them from the window, the message boxes (windows of their own) follow the desktop.
QPalette windowColours(const QStyle &style)
{
    QPalette colours = style.standardPalette();
    colours.setColor(QPalette::Window, Beige);
    colours.setColor(QPalette::Button, Beige);
    return colours;
}

QWidget *makeControl(const ControlRow &row, QWidget *container)
{
    const QString caption = QString::fromUtf8(row.caption ? row.caption : "");
    switch (row.kind) {
    case Kind::Frame:
        return new FrameBox(caption, container);
    case Kind::Label: {
        auto *label = new QLabel(caption, container);
        // Labels wrap at their width like the window's two-line labels do.
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::CheckBox:
        return new QCheckBox(caption, container);
    case Kind::ComboBox: {
        auto *combo = new QComboBox(container);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(caption);
        combo->lineEdit()->setCursorPosition(0);
        return combo;
    }
    case Kind::TextBox: {
        auto *box = new QLineEdit(caption, container);
        // Results are for reading and copying; Tab passes them by.
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::ClickFocus);
        return box;
    }
    case Kind::Button:
        return new QPushButton(caption, container);
    case Kind::NumEdit:
        return new CWNumEdit(container);
    case Kind::Image:
        return new PictureBox(caption, PictureBox::Fit::Stretch,
                              twipsToPixels(0, 0, row.width, row.height).size(), container);
    case Kind::Picture:
        return new PictureBox(caption, PictureBox::Fit::TopLeft, report::LogoSize, container);
    }
    return nullptr;
}

bool takesTabFocus(Kind kind)
{
    return kind == Kind::NumEdit || kind == Kind::CheckBox || kind == Kind::ComboBox || kind == Kind::Button;
}

template<typename T> T *control(const QHash<QString, QWidget *> &controls, const QString &name)
{
    auto *widget = qobject_cast<T *>(controls.value(name));
    Q_ASSERT_X(widget, "Form1", qPrintable(name));
    return widget;
}

} // namespace

void Form1::buildControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(form_texts::WindowCaption));
    // The icon as the build rendered it: no SVG icon plugin to load, nor images to decode.
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        if (const QImage pixels = readPixels(QStringLiteral(":/pictures/icon-%1.pixels").arg(size));
            !pixels.isNull())
            icon.addPixmap(QPixmap::fromImage(pixels));
    }
    setWindowIcon(icon);
    setFixedSize(twipsToPixels(0, 0, 10650, 8265).size());

    const QFont windowFont = widgets::windowFont();
    setFont(windowFont);
    setPalette(windowColours(*style()));
    setAutoFillBackground(true);

    QHash<QString, QWidget *> controls;
    std::multimap<int, QWidget *> tabOrder;
    for (const ControlRow &row : Controls) {
        QWidget *container = row.container ? controls.value(QString::fromLatin1(row.container)) : this;
        QWidget *widget = makeControl(row, container);
        widget->setObjectName(QString::fromLatin1(row.name));
        widget->setGeometry(twipsToPixels(row.left, row.top, row.width, row.height));
        if (row.points > 0) {
            QFont larger = windowFont;
            larger.setPointSizeF(row.points);
            widget->setFont(larger);
        }
        if (takesTabFocus(row.kind))
            tabOrder.emplace(row.tabIndex, widget);
        controls.insert(widget->objectName(), widget);
    }

    for (const NumEditRow &row : NumEdits) {
        auto *edit = control<CWNumEdit>(controls, QString::fromLatin1(row.name));
        edit->setRange(row.minimum, row.maximum);
        edit->setSteps(row.step, row.largerStep);
        edit->setFormat(QString::fromLatin1(row.format));
        const QSignalBlocker designValue(edit);
        edit->setValue(row.value);
        edit->setEnabled(row.enabled);
    }

    for (const AccessibleNameRow &row : AccessibleNames) {
        QWidget *widget = controls.value(QString::fromLatin1(row.name));
        const QString spoken = QString::fromUtf8(row.spoken);
        widget->setAccessibleName(spoken);
        // The field inside takes the focus, so a screen reader asks it for the name.
        if (auto *edit = qobject_cast<CWNumEdit *>(widget))
            edit->lineEdit()->setAccessibleName(spoken);
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            combo->lineEdit()->setAccessibleName(spoken);
    }

    QWidget *previous = nullptr;
    for (const auto &[tabIndex, widget] : tabOrder) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }

    Frame1 = control<FrameBox>(controls, QStringLiteral("Frame1"));
    Frame2 = control<FrameBox>(controls, QStringLiteral("Frame2"));
    Frame3 = control<FrameBox>(controls, QStringLiteral("Frame3"));
    CWNumEdit1 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit1"));
    CWNumEdit2 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit2"));
    CWNumEdit3 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit3"));
    CWNumEdit4 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit4"));
    CWNumEdit5 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit5"));
    CWNumEdit6 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit6"));
    CWNumEdit7 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit7"));
    CWNumEdit9 = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit9"));
    for (int i = 0; i < 5; ++i) {
        CWNumEdit8[i] = control<CWNumEdit>(controls, QStringLiteral("CWNumEdit8(%1)").arg(i));
        Text2[i] = control<QLineEdit>(controls, QStringLiteral("Text2(%1)").arg(i));
    }
    Check1 = control<QCheckBox>(controls, QStringLiteral("Check1"));
    Check2 = control<QCheckBox>(controls, QStringLiteral("Check2"));
    Check3 = control<QCheckBox>(controls, QStringLiteral("Check3"));
    Combo1 = control<QComboBox>(controls, QStringLiteral("Combo1"));
    Command1 = control<QPushButton>(controls, QStringLiteral("Command1"));
    Command2 = control<QPushButton>(controls, QStringLiteral("Command2"));
    Command3 = control<QPushButton>(controls, QStringLiteral("Command3"));
    Image1 = control<PictureBox>(controls, QStringLiteral("Image1"));
    Image2 = control<PictureBox>(controls, QStringLiteral("Image2"));
    Picture1 = control<PictureBox>(controls, QStringLiteral("Picture1"));

    CWNumEdit1->setFocus(Qt::OtherFocusReason);
}
