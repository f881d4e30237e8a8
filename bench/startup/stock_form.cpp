// A third yardstick of the start-up benchmark: the classic window's content built from Qt's
// stock controls and nothing else: the same three frames, texts, fields, check boxes,
// buttons, fonts, colours, style, places and sizes, without the pictures and without any of
// the program's logic. It is the floor for a window with this much text and this many
// controls, built as the window program is.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {

enum Kind { Label, Number, Check, Result, Button };

struct Control
{
    Kind kind;
    int frame; // 0 Invoer, 1 Beoordelingspunten, 2 Uitvoer
    const char *text;
    int left, top, width, height;
};

const Control Controls[] = {
    {Label, 0, "Breedte opslag", 16, 24, 105, 25},
    {Label, 0, "(B)", 152, 24, 17, 17},
    {Number, 0, "10", 184, 24, 41, 17},
    {Label, 0, "m", 240, 24, 17, 17},
    {Label, 0, "Diepte opslag", 16, 56, 105, 25},
    {Label, 0, "(D)", 152, 56, 17, 17},
    {Number, 0, "10", 184, 56, 41, 17},
    {Label, 0, "m", 240, 56, 17, 17},
    {Label, 0, "Hoogte opslag", 16, 88, 137, 41},
    {Label, 0, "(H)", 152, 88, 17, 17},
    {Number, 0, "8", 184, 88, 41, 17},
    {Label, 0, "m", 240, 88, 17, 17},
    {Label, 0, "Afstand tussen opslag en beoordelingspunt", 16, 120, 145, 41},
    {Label, 0, "(x)", 152, 120, 17, 17},
    {Number, 0, "5", 184, 120, 41, 17},
    {Label, 0, "m", 240, 120, 17, 17},
    {Label, 0, "Positie beoordelingspunt ", 16, 152, 145, 41},
    {Label, 0, "(y)", 152, 152, 17, 17},
    {Number, 0, "5", 184, 152, 41, 17},
    {Label, 0, "m", 240, 152, 17, 17},
    {Check, 0, "Binnenopslag", 16, 176, 161, 25},
    {Check, 0, "Compact gestapeld hout", 16, 208, 161, 25},
    {Check, 0, "Afscherming aanwezig", 16, 240, 161, 17},
    {Label, 0, "Hoogte afscherming", 24, 264, 105, 17},
    {Label, 0, "(hs)", 152, 264, 21, 17},
    {Number, 0, "0", 184, 264, 41, 17},
    {Label, 0, "m", 240, 264, 17, 17},
    {Label, 0, "Afstand tussen scherm en de opslag", 24, 296, 113, 41},
    {Label, 0, "(xs)", 152, 296, 21, 17},
    {Number, 0, "0", 184, 296, 41, 17},
    {Label, 0, "m", 240, 296, 17, 17},
    {Label, 0, "Efficiency", 24, 328, 89, 17},
    {Label, 0, "(K)", 152, 328, 17, 17},
    {Number, 0, "1", 184, 328, 41, 17},
    {Label, 1, "Hoogte beoordelingspunt 1:", 32, 24, 137, 17},
    {Number, 1, "2.5", 184, 24, 41, 17},
    {Label, 1, "m", 240, 24, 17, 17},
    {Label, 1, "Hoogte beoordelingspunt 2:", 32, 56, 137, 17},
    {Number, 1, "5", 184, 56, 41, 17},
    {Label, 1, "m", 240, 56, 17, 17},
    {Label, 1, "Hoogte beoordelingspunt 3:", 32, 88, 137, 17},
    {Number, 1, "7.5", 184, 88, 41, 17},
    {Label, 1, "m", 240, 88, 17, 17},
    {Label, 1, "Hoogte beoordelingspunt 4:", 32, 120, 137, 17},
    {Number, 1, "10", 184, 120, 41, 17},
    {Label, 1, "m", 240, 120, 17, 17},
    {Label, 1, "Hoogte beoordelingspunt 5:", 32, 152, 137, 17},
    {Number, 1, "12.5", 184, 152, 41, 17},
    {Label, 1, "m", 240, 152, 17, 17},
    {Label, 2, "Warmtestralingsniveau ", 24, 24, 129, 17},
    {Result, 2, "", 160, 24, 41, 19},
    {Label, 2, "kW/m\u00b2", 216, 24, 49, 17},
    {Label, 2, "Warmtestralingsniveau ", 24, 56, 129, 17},
    {Result, 2, "", 160, 56, 41, 19},
    {Label, 2, "kW/m\u00b2", 216, 56, 33, 17},
    {Label, 2, "Warmtestralingsniveau ", 24, 88, 129, 17},
    {Result, 2, "", 160, 88, 41, 19},
    {Label, 2, "kW/m\u00b2", 216, 88, 33, 17},
    {Label, 2, "Warmtestralingsniveau ", 24, 120, 129, 17},
    {Result, 2, "", 160, 120, 41, 19},
    {Label, 2, "kW/m\u00b2", 216, 120, 33, 17},
    {Label, 2, "Warmtestralingsniveau ", 24, 152, 129, 17},
    {Result, 2, "", 160, 152, 41, 19},
    {Label, 2, "kW/m\u00b2", 216, 152, 33, 17},
    {Button, 2, "Bereken", 304, 24, 81, 41},
    {Button, 2, "Print", 304, 72, 81, 41},
    {Button, 2, "Help", 304, 120, 81, 41},
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003"));
    window.setFixedSize(710, 551);
    QPalette colours = window.style()->standardPalette();
    colours.setColor(QPalette::Window, QColor(236, 221, 200));
    colours.setColor(QPalette::Button, QColor(236, 221, 200));
    window.setPalette(colours);
    window.setAutoFillBackground(true);

    QGroupBox *frames[] = {new QGroupBox(QStringLiteral("Invoer"), &window),
                           new QGroupBox(QStringLiteral("Beoordelingspunten"), &window),
                           new QGroupBox(QStringLiteral("Uitvoer"), &window)};
    frames[0]->setGeometry(8, 8, 697, 353);
    frames[1]->setGeometry(8, 368, 281, 177);
    frames[2]->setGeometry(296, 368, 409, 177);
    for (const Control &control : Controls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget *widget = nullptr;
        switch (control.kind) {
        case Label: {
            auto *label = new QLabel(text, frames[control.frame]);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case Number: {
            auto *number = new QDoubleSpinBox(frames[control.frame]);
            number->setRange(-100, 10000);
            number->setValue(text.toDouble());
            widget = number;
            break;
        }
        case Check:
            widget = new QCheckBox(text, frames[control.frame]);
            break;
        case Result:
            widget = new QLineEdit(text, frames[control.frame]);
            break;
        case Button:
            widget = new QPushButton(text, frames[control.frame]);
            break;
        }
        widget->setGeometry(control.left, control.top, control.width, control.height);
    }
    auto *dash = new QLabel(QStringLiteral("-"), frames[0]);
    QFont larger = font;
    larger.setPointSizeF(12);
    dash->setFont(larger);
    dash->setGeometry(240, 328, 17, 17);
    auto *combo = new QComboBox(frames[0]);
    combo->setEditable(true);
    combo->setEditText(QStringLiteral("AmvB Bouw- en Houtbedrijven"));
    combo->setGeometry(280, 24, 180, 21);

    window.show();
    return app.exec();
}
