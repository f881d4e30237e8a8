#include "inputs_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace explore {
namespace {

int index(Field field)
{
    return static_cast<int>(field);
}

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
        return s.heights[size_t(index(field) - index(Field::Point1))];
    }
}

struct Preset
{
    double value;
    const char *caption;
    const char *source;
};

// The presets of the limit and where each comes from, as far as it is sure.
const Preset kPresets[] = {
    {15, "15 kW/m²",
     "15 kW/m²: de grenswaarde voor houtopslag buiten (Bouwbesluit 2012, art. 7.7; Activiteitenbesluit):\n"
     "ten hoogste 15 kW/m² gedurende 60 minuten op de perceelsgrens of de gevel van een naburig gebouw."},
    {12.5, "12,5 kW/m²",
     "12,5 kW/m²: een veelgebruikt toetsingscriterium, bijvoorbeeld voor kwetsbare objecten of "
     "vluchtroutes.\n"
     "Geen wettelijke grenswaarde voor houtopslag; ga na wat in uw situatie geldt."},
    {10, "10 kW/m²",
     "10 kW/m²: een veelgebruikt toetsingscriterium, bijvoorbeeld voor kwetsbare objecten of vluchtroutes.\n"
     "Geen wettelijke grenswaarde voor houtopslag; ga na wat in uw situatie geldt."},
};

} // namespace

InputsPanel::InputsPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto *storageBox = new QGroupBox(QStringLiteral("Opslag en beoordelingspunt"), this);
    auto *storage = new QGridLayout(storageBox);
    addRow(storage, Field::Width, QStringLiteral("B&reedte opslag (B)"), QStringLiteral("m"),
           QStringLiteral(
               "Breedte van de opslag (binnenopslag: van het gebouw), de zijde naar het beoordelingspunt."),
           2, 10000, 1);
    addRow(storage, Field::Depth, QStringLiteral("&Diepte opslag (D)"), QStringLiteral("m"),
           QStringLiteral("Diepte van de opslag, loodrecht op de zijde naar het beoordelingspunt."), 2, 10000,
           1);
    addRow(storage, Field::Height, QStringLiteral("&Hoogte opslag (H)"), QStringLiteral("m"),
           QStringLiteral("Hoogte van de opslag (binnenopslag: van het gebouw)."), 0, 15, 1);
    addRow(storage, Field::Distance, QStringLiteral("Afs&tand tot beoordelingspunt (x)"), QStringLiteral("m"),
           QStringLiteral("Afstand tussen de opslag en het beoordelingspunt, bijvoorbeeld de perceelsgrens."),
           5, 10000, 1);
    addRow(storage, Field::Position, QStringLiteral("&Positie beoordelingspunt (y)"), QStringLiteral("m"),
           QStringLiteral(
               "Positie van het beoordelingspunt langs de zijde van de opslag, gemeten vanaf één hoek.\n"
               "Volgt B / 2 zolang het punt midden voor de opslag ligt."),
           -100, 10000, 1);
    layout->addWidget(storageBox);

    auto *optionsBox = new QGroupBox(QStringLiteral("Opties"), this);
    auto *options = new QGridLayout(optionsBox);
    m_indoor = new QCheckBox(QStringLiteral("Binnenops&lag"), optionsBox);
    m_indoor->setToolTip(
        QStringLiteral("Een brandend gebouw met houtopslag: de hele gevel straalt (45 kW/m²);\n"
                       "één beoordelingspunt op halve gebouwhoogte."));
    m_compact = new QCheckBox(QStringLiteral("&Compact gestapeld hout"), optionsBox);
    m_compact->setToolTip(
        QStringLiteral("Compact gestapeld hout: lagere vlamtemperatuur (950 K in plaats van 1085 K)."));
    m_screen = new QCheckBox(QStringLiteral("Afscherming aan&wezig"), optionsBox);
    m_screen->setToolTip(QStringLiteral("Een scherm tussen de opslag en het beoordelingspunt."));
    options->addWidget(m_indoor, 0, 0, 1, 3);
    options->addWidget(m_compact, 1, 0, 1, 3);
    options->addWidget(m_screen, 2, 0, 1, 3);
    addRow(options, Field::ScreenHeight, QStringLiteral("Hoogte &scherm (hs)"), QStringLiteral("m"),
           QStringLiteral("Hoogte van het scherm."), 0, 10000, 1);
    addRow(options, Field::ScreenDistance, QStringLiteral("Afstand scherm tot opsla&g (xs)"),
           QStringLiteral("m"),
           QStringLiteral("Afstand tussen het scherm en de opslag; ten hoogste de afstand x."), 0, 10000, 1);
    addRow(options, Field::Efficiency, QStringLiteral("&Efficiency scherm (K)"), QStringLiteral("–"),
           QStringLiteral("Deel van de straling dat het scherm tegenhoudt: 0 (niets) tot 1 (alles)."), 0, 1,
           0.1);
    layout->addWidget(optionsBox);

    auto *pointsBox = new QGroupBox(QStringLiteral("Hoogte beoordelingspunten"), this);
    auto *points = new QGridLayout(pointsBox);
    for (int i = 0; i < 5; ++i) {
        addRow(points, Field(index(Field::Point1) + i), QStringLiteral("Punt &%1").arg(i + 1),
               QStringLiteral("m"),
               QStringLiteral("Hoogte van beoordelingspunt %1 boven de onderkant van de opslag.").arg(i + 1),
               0, 100, 1);
    }
    layout->addWidget(pointsBox);

    auto *limitBox = new QGroupBox(QStringLiteral("Toetsing"), this);
    auto *limit = new QGridLayout(limitBox);
    addRow(limit, Field::Limit, QStringLiteral("&Grenswaarde (L)"), QStringLiteral("kW/m²"),
           QStringLiteral("Het hoogste toegestane warmtestralingsniveau."), 0.1, 100, 0.5);
    m_presets = new QComboBox(limitBox);
    for (const Preset &preset : kPresets) {
        m_presets->addItem(QString::fromUtf8(preset.caption), preset.value);
        m_presets->setItemData(m_presets->count() - 1, QString::fromUtf8(preset.source), Qt::ToolTipRole);
    }
    m_presets->addItem(QStringLiteral("eigen waarde"), 0.0);
    m_presets->setToolTip(QString::fromUtf8(kPresets[0].source) + QStringLiteral("\n\n")
                          + QString::fromUtf8(kPresets[1].source) + QStringLiteral("\n\n")
                          + QString::fromUtf8(kPresets[2].source));
    auto *presetLabel = new QLabel(QStringLiteral("V&oorinstelling"), limitBox);
    presetLabel->setBuddy(m_presets);
    const int presetRow = limit->rowCount();
    limit->addWidget(presetLabel, presetRow, 0);
    limit->addWidget(m_presets, presetRow, 1, 1, 2);
    m_envelope = new QCheckBox(QStringLiteral("O&mhullende: alle hoogtes tot het hoogste punt"), limitBox);
    m_envelope->setToolTip(
        QStringLiteral("Toets het hoogste niveau over elke hoogte van 0 m tot het hoogste\n"
                       "beoordelingspunt, niet alleen over de vijf punten."));
    limit->addWidget(m_envelope, presetRow + 1, 0, 1, 3);
    layout->addWidget(limitBox);
    layout->addStretch(1);

    m_updating = true;
    for (int i = 0; i < kFieldCount; ++i)
        m_rows[size_t(i)].edit->setText(text(valueOf(m_input, Field(i))));
    m_updating = false;
    syncPreset();

    connect(m_indoor, &QCheckBox::toggled, this, &InputsPanel::optionsChanged);
    connect(m_compact, &QCheckBox::toggled, this, &InputsPanel::optionsChanged);
    connect(m_screen, &QCheckBox::toggled, this, &InputsPanel::optionsChanged);
    connect(m_envelope, &QCheckBox::toggled, this, &InputsPanel::optionsChanged);
    connect(m_presets, &QComboBox::activated, this, &InputsPanel::presetChosen);

    // The order of the fields as the user reads them, options before the screen.
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
    optionsChanged();
}

void InputsPanel::addRow(QGridLayout *grid, Field field, const QString &caption, const QString &unit,
                         const QString &tip, double minimum, double maximum, double step)
{
    Row &row = m_rows[size_t(index(field))];
    QWidget *parent = grid->parentWidget();
    row.label = new QLabel(caption, parent);
    row.edit = new QLineEdit(parent);
    row.unit = new QLabel(unit, parent);
    row.message = new QLabel(parent);
    row.minimum = minimum;
    row.maximum = maximum;
    row.step = step;
    row.unitText = unit;
    row.label->setBuddy(row.edit);
    row.edit->setToolTip(tip
                         + QStringLiteral("\nToegestaan: %1 tot %2 %3. Pijltjes omhoog/omlaag: stap %4.")
                               .arg(text(minimum), text(maximum), unit, text(step)));
    row.label->setToolTip(row.edit->toolTip());
    row.edit->setAlignment(Qt::AlignRight);
    row.edit->setMaximumWidth(110);
    row.edit->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    row.edit->installEventFilter(this);
    row.message->setWordWrap(true);
    row.message->setStyleSheet(QStringLiteral("color: #a00000;"));
    row.message->setVisible(false);
    const int r = grid->rowCount();
    grid->addWidget(row.label, r, 0);
    grid->addWidget(row.edit, r, 1);
    grid->addWidget(row.unit, r, 2);
    grid->addWidget(row.message, r + 1, 0, 1, 3);
    connect(row.edit, &QLineEdit::textEdited, this, [this, field] { edited(field); });
}

QLineEdit *InputsPanel::edit(Field field) const
{
    return m_rows[size_t(index(field))].edit;
}

QString InputsPanel::message(Field field) const
{
    const QLabel *label = m_rows[size_t(index(field))].message;
    return label->isVisible() || !label->text().isEmpty() ? label->text() : QString();
}

QLocale InputsPanel::numbers() const
{
    QLocale plain = locale();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain;
}

QString InputsPanel::text(double value) const
{
    QString result = numbers().toString(value, 'f', 2);
    const QChar point = numbers().decimalPoint().at(0);
    if (result.contains(point)) {
        while (result.endsWith(QLatin1Char('0')))
            result.chop(1);
        if (result.endsWith(point))
            result.chop(1);
    }
    return result;
}

QString InputsPanel::problem(Field field, double &value) const
{
    const Row &row = m_rows[size_t(index(field))];
    const QString typed = row.edit->text().trimmed();
    if (typed.isEmpty())
        return QStringLiteral("Vul een getal in.");
    bool ok = false;
    value = locale().toDouble(typed, &ok);
    if (!ok || !std::isfinite(value)) {
        return QStringLiteral("„%1” is geen getal; schrijf bijvoorbeeld %2.")
            .arg(typed, numbers().toString(12.5, 'f', 1));
    }
    if (value < row.minimum || value > row.maximum) {
        return QStringLiteral("Kies een waarde van %1 tot %2 %3.")
            .arg(text(row.minimum), text(row.maximum), row.unitText);
    }
    return {};
}

void InputsPanel::showMessage(Field field, const QString &message)
{
    Row &row = m_rows[size_t(index(field))];
    row.message->setText(message);
    row.message->setVisible(!message.isEmpty());
    row.edit->setStyleSheet(message.isEmpty() ? QString() : QStringLiteral("border: 2px solid #a00000;"));
}

bool InputsPanel::checkAll()
{
    ExplorationInput candidate = m_input;
    bool allValid = true;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field field = Field(i);
        double value = 0;
        QString message;
        if (edit(field)->isEnabled()) {
            message = problem(field, value);
            if (message.isEmpty())
                valueOf(candidate, field) = value;
        }
        showMessage(field, message);
        allValid = allValid && message.isEmpty();
    }
    candidate.storage.indoor = m_indoor->isChecked();
    candidate.storage.compact = m_compact->isChecked();
    candidate.storage.screen = m_screen->isChecked();
    candidate.envelope = m_envelope->isChecked();
    if (allValid && candidate.screenActive() && candidate.storage.xs > candidate.storage.x) {
        showMessage(
            Field::ScreenDistance,
            QStringLiteral("Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter zijn "
                           "dan x."));
        allValid = false;
    }
    if (allValid)
        m_input = candidate;
    return allValid;
}

bool InputsPanel::valid() const
{
    for (const Row &row : m_rows) {
        if (!row.message->text().isEmpty())
            return false;
    }
    return true;
}

void InputsPanel::edited(Field field)
{
    if (m_updating)
        return;
    const double oldWidth = m_input.storage.B;
    const double oldPosition = m_input.storage.y;
    // The window hears of a wrong value too, to say that the answers are of the last valid input.
    if (!checkAll()) {
        emit inputChanged();
        return;
    }
    // The point stays in front of the middle when it was there.
    if (field == Field::Width && std::abs(oldPosition - oldWidth / 2) < 1e-9
        && m_input.storage.B != oldWidth) {
        m_updating = true;
        edit(Field::Position)->setText(text(m_input.storage.B / 2));
        m_updating = false;
        checkAll();
    }
    if (field == Field::Limit)
        syncPreset();
    emit inputChanged();
}

void InputsPanel::setValue(Field field, double value)
{
    edit(field)->setText(text(value));
    edited(field);
}

void InputsPanel::stepField(Field field, double steps)
{
    const Row &row = m_rows[size_t(index(field))];
    double value = 0;
    if (!problem(field, value).isEmpty())
        value = valueOf(m_input, field);
    const double next = std::clamp(std::round((value + steps * row.step) / row.step * 1e6) / 1e6 * row.step,
                                   row.minimum, row.maximum);
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

void InputsPanel::optionsChanged()
{
    const bool indoor = m_indoor->isChecked();
    const bool screen = m_screen->isChecked() && !indoor;
    m_compact->setEnabled(!indoor);
    m_screen->setEnabled(!indoor);
    m_envelope->setEnabled(!indoor);
    for (Field field : {Field::ScreenHeight, Field::ScreenDistance, Field::Efficiency}) {
        const Row &row = m_rows[size_t(index(field))];
        row.edit->setEnabled(screen);
        row.label->setEnabled(screen);
    }
    for (int i = 1; i < 5; ++i) {
        const Row &row = m_rows[size_t(index(Field::Point1) + i)];
        row.edit->setEnabled(!indoor);
        row.label->setEnabled(!indoor);
    }
    checkAll();
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
