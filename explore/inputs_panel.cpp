#include "inputs_panel.h"

#include "legal_basis.h"
#include "typed_numbers.h"
#include "window_colours.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <tuple>

namespace explore {

// One numeric input as the panel shows it: its caption (with its mnemonic), the unit
// beside it, its tool tip, and the ranges it is checked against.
struct InputsPanel::FieldRow
{
    Field field;
    const char *caption;
    const char *unit;
    const char *tip;
    const engine::QuantityRange *range;
};

namespace {

double &valueOf(ExplorationInput &input, Field field)
{
    engine::CalculationInput &s = input.storage;
    switch (field) {
    case Field::Width:
        return s.B;
    case Field::Depth:
        return s.D;
    case Field::Height:
        return s.H;
    case Field::Distance:
        return s.x;
    case Field::Position:
        return s.y;
    case Field::ScreenHeight:
        return s.hs;
    case Field::ScreenDistance:
        return s.xs;
    case Field::Efficiency:
        return s.K;
    case Field::Limit:
        return input.limitKw;
    default:
        return s.heights[size_t(field) - size_t(Field::Point1)];
    }
}

// The unit of a number without one: shown beside the field, left out of sentences.
const QString kNoUnit = QStringLiteral("–");

// The point stands in front of the middle of the face when y is half of B, to the
// precision of what the window writes itself.
bool inFrontOfMiddle(const engine::CalculationInput &storage)
{
    return std::abs(storage.y - storage.B / 2) <= 1e-9 * std::max(1.0, std::abs(storage.B));
}

struct Preset
{
    double value;
    const char *caption;
};

const Preset kPresets[] = {{15, "15 kW/m²"}, {12.5, "12,5 kW/m²"}, {10, "10 kW/m²"}};

// Where a preset comes from: the method's legal limit, or a criterion in use.
QString presetSource(const Preset &preset)
{
    return preset.value == 15 ? LegalLimitSource() : CriterionSource().arg(QString::fromUtf8(preset.caption));
}

} // namespace

InputsPanel::InputsPanel(QWidget *parent)
    : QWidget(parent)
{
    // clang-format off
    static const FieldRow storage[] = {
        {Field::Width, "B&reedte opslag (B)", "m",
         "Breedte van de opslag (binnenopslag: van het gebouw), de zijde naar het beoordelingspunt.",
         &engine::kWidthRange},
        {Field::Depth, "&Diepte opslag (D)", "m",
         "Diepte van de opslag, loodrecht op de zijde naar het beoordelingspunt.", &engine::kDepthRange},
        {Field::Height, "H&oogte opslag (H)", "m", "Hoogte van de opslag (binnenopslag: van het gebouw).",
         &engine::kHeightRange},
        {Field::Distance, "Afs&tand tot beoordelingspunt (x)", "m",
         "Afstand tussen de opslag en het beoordelingspunt, bijvoorbeeld de perceelsgrens.",
         &engine::kDistanceRange},
        {Field::Position, "&Positie beoordelingspunt (y)", "m",
         "Positie van het beoordelingspunt langs de zijde van de opslag, gemeten vanaf één hoek.\n"
         "Volgt B / 2 zolang het punt midden voor de opslag ligt.", &engine::kPositionRange},
    };
    static const FieldRow points[] = {
        {Field::Point1, "Punt &1", "m", "Hoogte van beoordelingspunt 1 boven de onderkant van de opslag.",
         &engine::kPointHeightRange},
        {Field::Point2, "Punt &2", "m", "Hoogte van beoordelingspunt 2 boven de onderkant van de opslag.",
         &engine::kPointHeightRange},
        {Field::Point3, "Punt &3", "m", "Hoogte van beoordelingspunt 3 boven de onderkant van de opslag.",
         &engine::kPointHeightRange},
        {Field::Point4, "Punt &4", "m", "Hoogte van beoordelingspunt 4 boven de onderkant van de opslag.",
         &engine::kPointHeightRange},
        {Field::Point5, "Punt &5", "m", "Hoogte van beoordelingspunt 5 boven de onderkant van de opslag.",
         &engine::kPointHeightRange},
    };
    // clang-format on
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, [this] { finishEntry(m_entry, false); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(addBox(QStringLiteral("Opslag en beoordelingspunt"), storage, int(std::size(storage))));
    layout->addWidget(buildOptionsBox());
    layout->addWidget(addBox(QStringLiteral("Hoogte beoordelingspunten"), points, int(std::size(points))));
    layout->addWidget(buildLimitBox());
    layout->addStretch(1);

    m_updating = true;
    for (int i = 0; i < kFieldCount; ++i)
        m_rows[size_t(i)].edit->setText(text(valueOf(m_input, Field(i))));
    m_updating = false;
    m_finished = m_input;
    syncPreset();
    setTabOrderAsRead();
    applyColours();
    optionsChanged();
}

QGroupBox *InputsPanel::addBox(const QString &title, const FieldRow *rows, int count)
{
    auto *box = new QGroupBox(title, this);
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < count; ++i)
        addRow(grid, rows[i]);
    return box;
}

QGroupBox *InputsPanel::buildOptionsBox()
{
    // clang-format off
    static const FieldRow screen[] = {
        {Field::ScreenHeight, "Hoogte &scherm (hs)", "m", "Hoogte van het scherm.", &engine::kScreenHeightRange},
        {Field::ScreenDistance, "Afstand scherm tot opsla&g (xs)", "m",
         "Afstand tussen het scherm en de opslag; ten hoogste de afstand x.", &engine::kScreenDistanceRange},
        {Field::Efficiency, "&Efficiency scherm (K)", "–",
         "Deel van de straling dat het scherm tegenhoudt: 0 (niets) tot 1 (alles).", &engine::kEfficiencyRange},
    };
    // clang-format on
    auto *box = new QGroupBox(QStringLiteral("Opties"), this);
    auto *grid = new QGridLayout(box);
    m_indoor = new QCheckBox(QStringLiteral("Binnenops&lag"), box);
    m_indoor->setToolTip(
        QStringLiteral("Een brandend gebouw met houtopslag: de hele gevel straalt (45 kW/m²);\n"
                       "één beoordelingspunt op halve gebouwhoogte."));
    m_compact = new QCheckBox(QStringLiteral("&Compact gestapeld hout"), box);
    m_compact->setToolTip(
        QStringLiteral("Compact gestapeld hout: lagere vlamtemperatuur (950 K in plaats van 1085 K)."));
    m_screen = new QCheckBox(QStringLiteral("&Afscherming aanwezig"), box);
    m_screen->setToolTip(QStringLiteral("Een scherm tussen de opslag en het beoordelingspunt."));
    // The three options above the screen's inputs, as the user reads them.
    for (QCheckBox *option : {m_indoor, m_compact, m_screen}) {
        grid->addWidget(option, grid->rowCount(), 0, 1, 3);
        connect(option, &QCheckBox::toggled, this, &InputsPanel::optionsChanged);
    }
    for (const FieldRow &fieldRow : screen)
        addRow(grid, fieldRow);
    return box;
}

QGroupBox *InputsPanel::buildLimitBox()
{
    static const FieldRow limit[] = {
        {Field::Limit, "Gre&nswaarde (L)", "kW/m²", "Het hoogste toegestane warmtestralingsniveau.",
         &engine::kLimitRange},
    };
    QGroupBox *box = addBox(QStringLiteral("Toetsing"), limit, 1);
    auto *grid = static_cast<QGridLayout *>(box->layout());
    m_presets = new QComboBox(box);
    QStringList sources;
    for (const Preset &preset : kPresets) {
        m_presets->addItem(QString::fromUtf8(preset.caption), preset.value);
        m_presets->setItemData(m_presets->count() - 1, presetSource(preset), Qt::ToolTipRole);
        sources << presetSource(preset);
    }
    m_presets->addItem(QStringLiteral("eigen waarde"), 0.0);
    m_presets->setToolTip(sources.join(QStringLiteral("\n\n")));
    connect(m_presets, &QComboBox::activated, this, &InputsPanel::presetChosen);
    auto *presetLabel = new QLabel(QStringLiteral("&Voorinstelling"), box);
    presetLabel->setBuddy(m_presets);
    const int presetRow = grid->rowCount();
    grid->addWidget(presetLabel, presetRow, 0);
    grid->addWidget(m_presets, presetRow, 1, 1, 2);
    m_envelope = new QCheckBox(QStringLiteral("O&mhullende: alle hoogtes tot het hoogste punt"), box);
    m_envelope->setToolTip(
        QStringLiteral("Toets het hoogste niveau over elke hoogte van 0 m tot het hoogste\n"
                       "beoordelingspunt, niet alleen over de vijf punten."));
    grid->addWidget(m_envelope, presetRow + 1, 0, 1, 3);
    connect(m_envelope, &QCheckBox::toggled, this, &InputsPanel::optionsChanged);
    return box;
}

void InputsPanel::addRow(QGridLayout *grid, const FieldRow &fieldRow)
{
    Row &r = row(fieldRow.field);
    QWidget *parent = grid->parentWidget();
    r.range = fieldRow.range;
    r.caption = QString::fromUtf8(fieldRow.caption).remove(QLatin1Char('&'));
    r.unit = QString::fromUtf8(fieldRow.unit);
    r.unitInText = r.unit == kNoUnit ? QString() : QLatin1Char(' ') + r.unit;
    r.label = new QLabel(QString::fromUtf8(fieldRow.caption), parent);
    r.edit = new QLineEdit(parent);
    r.message = new QLabel(parent);
    r.label->setBuddy(r.edit);
    QString tip = QString::fromUtf8(fieldRow.tip)
        + QStringLiteral("\nToegestaan: %1 tot %2%3. Pijltjes omhoog/omlaag: stap %4.")
              .arg(text(r.range->method.minimum), text(r.range->method.maximum), r.unitInText,
                   text(r.range->step));
    if (r.range->window.minimum != r.range->method.minimum
        || r.range->window.maximum != r.range->method.maximum) {
        tip += QStringLiteral("\nHet venster Warmtegloedvracht neemt %1 tot %2%3 aan.")
                   .arg(text(r.range->window.minimum), text(r.range->window.maximum), r.unitInText);
    }
    r.edit->setToolTip(tip);
    r.label->setToolTip(tip);
    r.edit->setAlignment(Qt::AlignRight);
    r.edit->setMaximumWidth(fontMetrics().averageCharWidth() * 14);
    r.edit->setAccessibleName(r.caption + QStringLiteral(", ") + r.unit);
    r.edit->installEventFilter(this);
    r.message->setWordWrap(true);
    r.message->setVisible(false);
    const int at = grid->rowCount();
    grid->addWidget(r.label, at, 0);
    grid->addWidget(r.edit, at, 1);
    grid->addWidget(new QLabel(r.unit, parent), at, 2);
    grid->addWidget(r.message, at + 1, 0, 1, 3);
    const Field field = fieldRow.field;
    connect(r.edit, &QLineEdit::textEdited, this, [this, field] { typed(field); });
    connect(r.edit, &QLineEdit::editingFinished, this, [this, field] { finishEntry(field, true); });
}

void InputsPanel::setTabOrderAsRead()
{
    QWidget *order[] = {edit(Field::Width),
                        edit(Field::Depth),
                        edit(Field::Height),
                        edit(Field::Distance),
                        edit(Field::Position),
                        m_indoor,
                        m_compact,
                        m_screen,
                        edit(Field::ScreenHeight),
                        edit(Field::ScreenDistance),
                        edit(Field::Efficiency),
                        edit(Field::Point1),
                        edit(Field::Point2),
                        edit(Field::Point3),
                        edit(Field::Point4),
                        edit(Field::Point5),
                        edit(Field::Limit),
                        m_presets,
                        m_envelope};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLineEdit *InputsPanel::edit(Field field) const
{
    return row(field).edit;
}

QString InputsPanel::message(Field field) const
{
    return row(field).wrong ? row(field).message->text() : QString();
}

QString InputsPanel::note(Field field) const
{
    return row(field).noted ? row(field).message->text() : QString();
}

bool InputsPanel::valid() const
{
    return std::none_of(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.wrong; });
}

QString InputsPanel::incompleteReason() const
{
    for (const Row &r : m_rows) {
        if (r.wrong)
            return r.caption + QStringLiteral(": ") + r.message->text();
    }
    return {};
}

QString InputsPanel::text(double value) const
{
    return ShortestNumber(value, locale());
}

QString InputsPanel::problem(const Row &r, double &value) const
{
    const QString typed = r.edit->text().trimmed();
    if (typed.isEmpty())
        return QStringLiteral("Vul een getal in.");
    if (!ParseTypedNumber(typed, locale(), value)) {
        return QStringLiteral("„%1” is geen getal; schrijf bijvoorbeeld %2.")
            .arg(typed, locale().toString(12.5, 'f', 1));
    }
    if (!r.range->method.contains(value)) {
        return QStringLiteral("Kies een waarde van %1 tot %2%3.")
            .arg(text(r.range->method.minimum), text(r.range->method.maximum), r.unitInText);
    }
    return {};
}

void InputsPanel::showRowState(Row &r, const QString &message, bool wrong)
{
    r.wrong = wrong;
    r.noted = !wrong && !message.isEmpty();
    r.message->setText(message);
    r.message->setVisible(!message.isEmpty());
    r.edit->setProperty("wrong", wrong);
}

// Parses every enabled field; takes the input as typed when all of it is valid.
void InputsPanel::check()
{
    ExplorationInput candidate = m_input;
    for (int i = 0; i < kFieldCount; ++i) {
        Row &r = m_rows[size_t(i)];
        double value = 0;
        QString message;
        if (r.edit->isEnabled()) {
            message = problem(r, value);
            if (message.isEmpty())
                valueOf(candidate, Field(i)) = value;
        }
        if (!message.isEmpty()) {
            showRowState(r, message, true);
        } else if (r.edit->isEnabled() && !r.range->window.contains(value)) {
            showRowState(r,
                         QStringLiteral("Buiten het bereik van het venster Warmtegloedvracht (%1 tot %2%3).")
                             .arg(text(r.range->window.minimum), text(r.range->window.maximum), r.unitInText),
                         false);
        } else {
            showRowState(r, QString(), false);
        }
    }
    candidate.storage.indoor = m_indoor->isChecked();
    candidate.storage.compact = m_compact->isChecked();
    candidate.storage.screen = m_screen->isChecked();
    candidate.envelope = m_envelope->isChecked();
    if (valid() && candidate.screenActive() && candidate.storage.xs > candidate.storage.x) {
        showRowState(
            row(Field::ScreenDistance),
            QStringLiteral("Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter "
                           "zijn dan x."),
            true);
    }
    if (valid())
        m_input = candidate;
    applyColours();
}

void InputsPanel::typed(Field field)
{
    if (m_updating)
        return;
    m_entry = field;
    m_pause->start();
    check();
    if (field == Field::Limit)
        syncPreset();
    emit inputChanged();
}

void InputsPanel::finishEntry(Field field, bool tidy)
{
    if (m_updating)
        return;
    m_pause->stop();
    Row &r = row(field);
    double value = 0;
    // An entry left or confirmed is written as the window writes numbers ("12.5" becomes
    // "12,5"): the same value, so nothing is computed anew. A pause leaves the text alone,
    // for the user may go on typing.
    if (tidy && !r.wrong && ParseTypedNumber(r.edit->text(), locale(), value)
        && r.edit->text() != text(value)) {
        m_updating = true;
        r.edit->setText(text(value));
        m_updating = false;
    }
    applyFinishedRules();
}

void InputsPanel::applyFinishedRules()
{
    if (!valid())
        return;
    // The point stays in front of the middle of the face when it stood there and only
    // the width changed.
    const engine::CalculationInput &before = m_finished.storage;
    const engine::CalculationInput &now = m_input.storage;
    if (now.B != before.B && now.y == before.y && inFrontOfMiddle(before)) {
        m_updating = true;
        edit(Field::Position)->setText(text(now.B / 2));
        m_updating = false;
        check();
        emit inputChanged();
    }
    if (valid())
        m_finished = m_input;
}

void InputsPanel::setValue(Field field, double value)
{
    edit(field)->setText(text(value));
    typed(field);
    finishEntry(field, true);
}

void InputsPanel::setInput(const ExplorationInput &input)
{
    m_pause->stop();
    m_updating = true;
    const char separator = m_input.decimalSeparator;
    m_input = input;
    m_input.decimalSeparator = separator;
    for (int i = 0; i < kFieldCount; ++i)
        m_rows[size_t(i)].edit->setText(text(valueOf(m_input, Field(i))));
    const std::pair<QCheckBox *, bool> options[] = {{m_indoor, input.storage.indoor},
                                                    {m_compact, input.storage.compact},
                                                    {m_screen, input.storage.screen},
                                                    {m_envelope, input.envelope}};
    for (const auto &[box, checked] : options) {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    m_updating = false;
    syncPreset();
    // Checks the fields, takes the input as the finished one and tells the window.
    optionsChanged();
}

QString InputsPanel::describeChange(const ExplorationInput &before, const ExplorationInput &after) const
{
    QStringList changes;
    ExplorationInput a = before;
    ExplorationInput b = after;
    for (int i = 0; i < kFieldCount; ++i) {
        if (valueOf(a, Field(i)) != valueOf(b, Field(i)))
            changes << m_rows[size_t(i)].caption + QStringLiteral(" wijzigen");
    }
    const std::tuple<QCheckBox *, bool, bool> options[] = {{m_indoor, a.storage.indoor, b.storage.indoor},
                                                           {m_compact, a.storage.compact, b.storage.compact},
                                                           {m_screen, a.storage.screen, b.storage.screen},
                                                           {m_envelope, a.envelope, b.envelope}};
    for (const auto &[box, was, is] : options) {
        if (was != is) {
            const QString name = box->text().remove(QLatin1Char('&')).section(QLatin1Char(':'), 0, 0);
            changes << name + (is ? QStringLiteral(" aan") : QStringLiteral(" uit"));
        }
    }
    return changes.size() == 1 ? changes.front() : QStringLiteral("Invoer wijzigen");
}

void InputsPanel::stepField(Field field, double steps)
{
    const Row &r = row(field);
    double value = 0;
    if (!ParseTypedNumber(r.edit->text(), locale(), value))
        value = valueOf(m_input, field);
    // Steps land on whole multiples of the step, not on 0.30000000000000004.
    const double step = r.range->step;
    const double next = std::clamp(std::round((value + steps * step) / step * 1e6) / 1e6 * step,
                                   r.range->method.minimum, r.range->method.maximum);
    setValue(field, next);
}

bool InputsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        for (int i = 0; i < kFieldCount; ++i) {
            if (watched != m_rows[size_t(i)].edit)
                continue;
            const double steps = key == Qt::Key_Up ? 1
                : key == Qt::Key_Down              ? -1
                : key == Qt::Key_PageUp            ? 5
                : key == Qt::Key_PageDown          ? -5
                                                   : 0;
            if (steps != 0) {
                stepField(Field(i), steps);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InputsPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyColours();
    QWidget::changeEvent(event);
}

// A wrong field's frame and message in the error colour of the palette in use; a note
// in the ordinary text colour.
void InputsPanel::applyColours()
{
    const QColor error = ErrorTextColour(palette());
    for (Row &r : m_rows) {
        QPalette messagePalette = palette();
        if (r.wrong)
            messagePalette.setColor(QPalette::WindowText, error);
        r.message->setPalette(messagePalette);
        r.edit->setStyleSheet(
            r.wrong ? QStringLiteral("QLineEdit { border: 2px solid %1; }").arg(error.name()) : QString());
    }
}

void InputsPanel::optionsChanged()
{
    const bool indoor = m_indoor->isChecked();
    const bool screen = m_screen->isChecked() && !indoor;
    m_compact->setEnabled(!indoor);
    m_screen->setEnabled(!indoor);
    m_envelope->setEnabled(!indoor);
    for (Field field : {Field::ScreenHeight, Field::ScreenDistance, Field::Efficiency}) {
        row(field).edit->setEnabled(screen);
        row(field).label->setEnabled(screen);
    }
    for (Field field : {Field::Point2, Field::Point3, Field::Point4, Field::Point5}) {
        row(field).edit->setEnabled(!indoor);
        row(field).label->setEnabled(!indoor);
    }
    check();
    if (valid())
        m_finished = m_input;
    emit inputChanged();
}

void InputsPanel::presetChosen(int chosen)
{
    const double value = m_presets->itemData(chosen).toDouble();
    if (value > 0)
        setValue(Field::Limit, value);
}

void InputsPanel::syncPreset()
{
    int found = m_presets->count() - 1;
    for (int i = 0; i + 1 < m_presets->count(); ++i) {
        if (std::abs(m_presets->itemData(i).toDouble() - m_input.limitKw) < 1e-9)
            found = i;
    }
    m_presets->setCurrentIndex(found);
}

} // namespace explore
