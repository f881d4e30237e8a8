// Form1's construction and its commands: "Bereken" runs the calculation on the
// controls' values, "Print" prints the report of a fresh calculation, "Help" and F1
// open the help.

#include "form1.h"

#include "calculate.h"
#include "cw_num_edit.h"
#include "form_texts.h"
#include "message_box.h"
#include "picture_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "calculation_report.h"
#include "help_command.h"
#include "printer.h"
#include "report_input.h"

namespace {

constexpr int HelpKey = 112; // F1

// The engine writes numbers with a one-character separator; other locales get a point.
char decimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

} // namespace

int vbKeyCode(int qtKey)
{
    // The window's key handler only looks at the function keys (F1 opens the help).
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return HelpKey + (qtKey - Qt::Key_F1);
    return 0;
}

Form1::Form1(const FormServices &services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    Q_ASSERT(m_services.messageBox);
    buildControls();
    connectHandlers();
    // Key preview: the window sees every key before the control with the focus.
    qApp->installEventFilter(this);
}

Form1::~Form1() = default;

QImage Form1::picture1Image() const
{
    return Picture1->image(report::LogoPrintScale);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int keyCode = vbKeyCode(key->key());
        Form_KeyDown(keyCode, widgets::vbShiftState(key->modifiers()));
        // F1 is the window's: no control has a use for it, and letting it travel up
        // through the parents would show it to this filter again.
        if (keyCode == HelpKey)
            return true;
        // Enter presses the button that has the focus, as the desktop's own buttons
        // do; a held key does not print page after page.
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (!key->isAutoRepeat())
                button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_KeyDown(int KeyCode, int /*Shift*/)
{
    if (KeyCode == HelpKey)
        Command3_Click();
}

bool Form1::Command2_Click()
{
    engine::CalculationInput input;
    engine::CalculationResult result;
    return calculate(input, result);
}

bool Form1::calculate(engine::CalculationInput &input, engine::CalculationResult &result)
{
    input.B = CWNumEdit1->Value();
    input.D = CWNumEdit2->Value();
    input.H = CWNumEdit3->Value();
    input.x = CWNumEdit4->Value();
    input.hs = CWNumEdit5->Value();
    input.xs = CWNumEdit6->Value();
    input.K = CWNumEdit7->Value();
    input.y = CWNumEdit9->Value();
    for (int i = 0; i < 5; ++i)
        input.heights[i] = CWNumEdit8[i]->Value();
    input.indoor = isChecked(Check3);
    input.compact = isChecked(Check2);
    input.screen = isChecked(Check1);

    result = engine::Calculate(input, m_state, decimalSeparator());
    if (!result.ok()) {
        ClearResults();
        m_services.messageBox->MsgBox(QString::fromStdString(result.message),
                                      platform::vbOKOnly | platform::vbInformation,
                                      QString::fromUtf8(form_texts::InputErrorTitle));
        return false;
    }
    // Indoor: point 1 shows the height the level was computed at; its change
    // notification empties the boxes of the points that have no result.
    if (result.firstHeightWritten)
        CWNumEdit8[0]->setValue(result.firstHeight);
    for (std::size_t i = 0; i < result.texts.size() && i < Text2.size(); ++i)
        Text2[i]->setText(QString::fromStdString(result.texts[i]));
    return true;
}

void Form1::Command1_Click()
{
    engine::CalculationInput calculation;
    engine::CalculationResult result;
    if (!calculate(calculation, result))
        return;
    report::ReportInput input = report::makeReportInput(calculation, m_state, result);
    input.logo = picture1Image();
    input.decimalSeparator = decimalSeparator();
    input.printedAt = QDateTime::currentDateTime();

    // No printer means no page and no message, as when the printer fails midway.
    std::unique_ptr<platform::Printer> printer;
    try {
        if (m_services.makePrinter)
            printer = m_services.makePrinter();
    } catch (...) {
        return;
    }
    if (printer)
        report::printCalculationReport(input, *printer, m_services.messageBox);
}

void Form1::Command3_Click()
{
    if (m_services.shell)
        help::HelpCommand(*m_services.shell, *m_services.messageBox).Command3_Click();
}
