#include "situatie_panel.h"

#include "situatie_texts.h"
#include "typed_numbers.h"
#include "window_colours.h"

#include "input_ranges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <type_traits>
#include <utility>

namespace explore {

struct SituatiePanel::NumberField
{
    QLineEdit *edit = nullptr;
    QString caption;
    double minimum = 0;
    double maximum = 0;
    QString unit;
    std::function<double *(SituatieState &)> value;
};

struct SituatiePanel::TextField
{
    QLineEdit *edit = nullptr;
    QString caption;
    std::function<std::string *(SituatieState &)> value;
};

namespace {

constexpr double kCoordinate = 10000000; // m, either way, as the case file allows
const QString kMetres = QStringLiteral("m");

QTableWidget *readOnlyTable(const QStringList &headers)
{
    auto *table = new QTableWidget(0, int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void fill(QTableWidget *table, const std::vector<QStringList> &rows)
{
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(rows[std::size_t(r)].size()) && c < table->columnCount(); ++c)
            table->setItem(r, c, new QTableWidgetItem(rows[std::size_t(r)][c]));
    }
}

} // namespace

SituatiePanel::SituatiePanel(SituatieModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    auto *layout = new QVBoxLayout(this);
    m_message = new QLabel;
    m_message->setWordWrap(true);
    m_message->hide();
    QPalette error = m_message->palette();
    error.setColor(QPalette::WindowText, ErrorTextColour(palette()));
    m_message->setPalette(error);
    layout->addWidget(m_message);
    layout->addWidget(buildSiteGroup());
    layout->addWidget(m_storageGroup = buildStorageGroup());
    layout->addWidget(m_receiverGroup = buildReceiverGroup());
    layout->addWidget(m_boundaryGroup = buildBoundaryGroup());
    layout->addWidget(m_underlayGroup = buildUnderlayGroup());
    layout->addWidget(buildAnswersGroup());
    layout->addStretch(1);
    connect(m_model, &SituatieModel::changed, this, &SituatiePanel::refresh);
    connect(m_model, &SituatieModel::selectionChanged, this, &SituatiePanel::refresh);
    refresh();
}

SituatiePanel::~SituatiePanel() = default;

QLineEdit *SituatiePanel::addNumber(QGroupBox *group, const QString &caption, const QString &unit,
                                    double minimum, double maximum,
                                    std::function<double *(SituatieState &)> value, int row)
{
    auto *grid = static_cast<QGridLayout *>(group->layout());
    auto *edit = new QLineEdit;
    auto *label = new QLabel(caption);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(unit), row, 2);
    auto field = std::make_unique<NumberField>();
    *field = {edit, caption, minimum, maximum, unit, std::move(value)};
    const NumberField *bound = field.get();
    connect(edit, &QLineEdit::editingFinished, this, [this, bound] { commitNumber(*bound); });
    m_numbers.push_back(std::move(field));
    return edit;
}

QLineEdit *SituatiePanel::addText(QGroupBox *group, const QString &caption,
                                  std::function<std::string *(SituatieState &)> value, int row)
{
    auto *grid = static_cast<QGridLayout *>(group->layout());
    auto *edit = new QLineEdit;
    auto *label = new QLabel(caption);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
    auto field = std::make_unique<TextField>();
    *field = {edit, caption, std::move(value)};
    const TextField *bound = field.get();
    connect(edit, &QLineEdit::editingFinished, this, [this, bound] { commitText(*bound); });
    m_texts.push_back(std::move(field));
    return edit;
}

QCheckBox *SituatiePanel::addCheck(QGroupBox *group, const QString &caption,
                                   std::function<bool *(SituatieState &)> value, int row)
{
    auto *grid = static_cast<QGridLayout *>(group->layout());
    auto *box = new QCheckBox(caption);
    grid->addWidget(box, row, 0, 1, 3);
    connect(box, &QCheckBox::toggled, this, [this, caption, value](bool checked) {
        if (m_refreshing)
            return;
        SituatieState next = m_model->committed();
        bool *target = value(next);
        if (!target)
            return;
        *target = checked;
        tell(m_model->edit(QStringLiteral("%1 wijzigen").arg(caption), next));
    });
    m_checks.emplace_back(box, value);
    return box;
}

QGroupBox *SituatiePanel::buildSiteGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Situatie"));
    new QGridLayout(group);
    addNumber(
        group, QStringLiteral("Grenswaarde (L)"), QStringLiteral("kW/m²"), engine::kLimitRange.method.minimum,
        engine::kLimitRange.method.maximum, [](SituatieState &s) { return &s.site.limit; }, 0);
    for (int i = 0; i < 5; ++i) {
        addNumber(
            group, QStringLiteral("Hoogte punt %1").arg(i + 1), kMetres,
            engine::kPointHeightRange.method.minimum, engine::kPointHeightRange.method.maximum,
            [i](SituatieState &s) { return &s.site.heights[std::size_t(i)]; }, 1 + i);
    }
    addCheck(
        group, QStringLiteral("Omhullende over alle hoogtes"),
        [](SituatieState &s) { return &s.site.envelope; }, 6);
    return group;
}

QGroupBox *SituatiePanel::buildStorageGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Opslag"));
    new QGridLayout(group);
    // The selected storage's member, or none.
    auto storage = [this](auto member) {
        using Value = std::remove_reference_t<decltype(std::declval<engine::SiteStorage &>().*member)>;
        return std::function<Value *(SituatieState &)>([this, member](SituatieState &s) -> Value * {
            engine::SiteStorage *selected = selectedStorage(s);
            return selected ? &(selected->*member) : nullptr;
        });
    };
    addText(group, QStringLiteral("Naam"), storage(&engine::SiteStorage::name), 0);
    addNumber(
        group, QStringLiteral("x hoek P1"), kMetres, -kCoordinate, kCoordinate,
        [this](SituatieState &s) {
            engine::SiteStorage *t = selectedStorage(s);
            return t ? &t->corner.x : nullptr;
        },
        1);
    addNumber(
        group, QStringLiteral("y hoek P1"), kMetres, -kCoordinate, kCoordinate,
        [this](SituatieState &s) {
            engine::SiteStorage *t = selectedStorage(s);
            return t ? &t->corner.y : nullptr;
        },
        2);
    addNumber(group, QStringLiteral("Draaiing"), QStringLiteral("°"), -360, 360,
              storage(&engine::SiteStorage::rotation), 3);
    addNumber(group, QStringLiteral("Breedte"), kMetres, engine::kWidthRange.method.minimum,
              engine::kWidthRange.method.maximum, storage(&engine::SiteStorage::width), 4);
    addNumber(group, QStringLiteral("Diepte"), kMetres, engine::kDepthRange.method.minimum,
              engine::kDepthRange.method.maximum, storage(&engine::SiteStorage::depth), 5);
    addNumber(group, QStringLiteral("Hoogte"), kMetres, engine::kHeightRange.method.minimum,
              engine::kHeightRange.method.maximum, storage(&engine::SiteStorage::height), 6);
    addCheck(group, QStringLiteral("Binnenopslag"), storage(&engine::SiteStorage::indoor), 7);
    addCheck(group, QStringLiteral("Compact gestapeld hout"), storage(&engine::SiteStorage::compact), 8);

    auto *grid = static_cast<QGridLayout *>(group->layout());
    m_screenFace = new QComboBox;
    for (int face = 1; face <= 4; ++face)
        m_screenFace->addItem(QStringLiteral("zijde %1").arg(face));
    auto *faceLabel = new QLabel(QStringLiteral("Scherm voor"));
    faceLabel->setBuddy(m_screenFace);
    grid->addWidget(faceLabel, 9, 0);
    grid->addWidget(m_screenFace, 9, 1, 1, 2);
    m_screen = new QCheckBox(QStringLiteral("Afscherming aanwezig"));
    grid->addWidget(m_screen, 10, 0, 1, 3);
    connect(m_screenFace, &QComboBox::currentIndexChanged, this, &SituatiePanel::refresh);
    connect(m_screen, &QCheckBox::toggled, this, &SituatiePanel::editScreen);
    auto screen = [this](double engine::FaceScreen::*member) {
        return [this, member](SituatieState &s) {
            engine::FaceScreen *selected = selectedScreen(s);
            return selected ? &(selected->*member) : nullptr;
        };
    };
    addNumber(group, QStringLiteral("Hoogte scherm (hs)"), kMetres, engine::kScreenHeightRange.method.minimum,
              engine::kScreenHeightRange.method.maximum, screen(&engine::FaceScreen::hs), 11);
    addNumber(group, QStringLiteral("Afstand scherm (xs)"), kMetres,
              engine::kScreenDistanceRange.method.minimum, engine::kScreenDistanceRange.method.maximum,
              screen(&engine::FaceScreen::xs), 12);
    addNumber(group, QStringLiteral("Efficiency scherm (K)"), QStringLiteral("–"),
              engine::kEfficiencyRange.method.minimum, engine::kEfficiencyRange.method.maximum,
              screen(&engine::FaceScreen::K), 13);
    return group;
}

QGroupBox *SituatiePanel::buildReceiverGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Ontvanger"));
    new QGridLayout(group);
    addText(
        group, QStringLiteral("Naam ontvanger"),
        [this](SituatieState &s) {
            engine::SiteReceiver *r = selectedReceiver(s);
            return r ? &r->name : nullptr;
        },
        0);
    addNumber(
        group, QStringLiteral("x ontvanger"), kMetres, -kCoordinate, kCoordinate,
        [this](SituatieState &s) {
            engine::SiteReceiver *r = selectedReceiver(s);
            return r ? &r->at.x : nullptr;
        },
        1);
    addNumber(
        group, QStringLiteral("y ontvanger"), kMetres, -kCoordinate, kCoordinate,
        [this](SituatieState &s) {
            engine::SiteReceiver *r = selectedReceiver(s);
            return r ? &r->at.y : nullptr;
        },
        2);
    return group;
}

QGroupBox *SituatiePanel::buildBoundaryGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Perceelgrens"));
    auto *grid = new QGridLayout(group);
    m_points = new QTableWidget(0, 2);
    m_points->setHorizontalHeaderLabels({QStringLiteral("x (m)"), QStringLiteral("y (m)")});
    m_points->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_points->setMinimumHeight(fontMetrics().lineSpacing() * 8);
    grid->addWidget(m_points, 0, 0, 1, 2);
    m_boundaryLength = new QLabel;
    grid->addWidget(m_boundaryLength, 1, 0);
    auto *remove = new QPushButton(QStringLiteral("Punt verw&ijderen"));
    grid->addWidget(remove, 1, 1);
    connect(m_points, &QTableWidget::cellChanged, this, &SituatiePanel::commitPoint);
    connect(remove, &QPushButton::clicked, this, [this] {
        SituatieState next = m_model->committed();
        std::vector<engine::SitePoint> *polyline = selectedPolyline(next);
        const int row = m_points->currentRow();
        if (!polyline || row < 0 || row >= int(polyline->size()))
            return;
        if (polyline->size() <= 2) {
            tell(QStringLiteral(
                "Een perceelgrens heeft minstens twee punten; verwijder de hele lijn met Delete."));
            return;
        }
        polyline->erase(polyline->begin() + row);
        tell(m_model->edit(QStringLiteral("Grenspunt verwijderen"), next));
    });
    return group;
}

QGroupBox *SituatiePanel::buildUnderlayGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Onderlegger"));
    auto *grid = new QGridLayout(group);
    m_underlayName = new QLabel;
    m_underlayName->setWordWrap(true);
    m_underlayStatus = new QLabel;
    m_underlayStatus->setWordWrap(true);
    QPalette error = m_underlayStatus->palette();
    error.setColor(QPalette::WindowText, ErrorTextColour(palette()));
    m_underlayStatus->setPalette(error);
    m_opacity = new QSlider(Qt::Horizontal);
    m_opacity->setRange(int(kLeastOpacity * 100), 100);
    m_opacity->setSingleStep(5);
    m_opacity->setPageStep(10);
    auto *opacityLabel = new QLabel(QStringLiteral("Dekking"));
    opacityLabel->setBuddy(m_opacity);
    auto *open = new QPushButton(QStringLiteral("Tekening kie&zen…"));
    m_place = new QPushButton(QStringLiteral("Plaatsen met twee p&unten…"));
    auto *remove = new QPushButton(QStringLiteral("Weghalen"));
    grid->addWidget(m_underlayName, 0, 0, 1, 3);
    grid->addWidget(m_underlayStatus, 1, 0, 1, 3);
    grid->addWidget(opacityLabel, 2, 0);
    grid->addWidget(m_opacity, 2, 1, 1, 2);
    grid->addWidget(open, 3, 0);
    grid->addWidget(m_place, 3, 1);
    grid->addWidget(remove, 3, 2);
    connect(open, &QPushButton::clicked, this, &SituatiePanel::openUnderlayRequested);
    connect(m_place, &QPushButton::clicked, this, &SituatiePanel::placeUnderlayRequested);
    connect(remove, &QPushButton::clicked, this, &SituatiePanel::removeUnderlayRequested);
    // One undo step per slide: while the slider is dragged the map shows each step, and
    // its release makes the edit; a key or a click beside the handle is an edit at once.
    connect(m_opacity, &QSlider::valueChanged, this, [this](int percent) {
        if (m_refreshing)
            return;
        SituatieState next = m_model->committed();
        next.underlay.opacity = percent / 100.0;
        if (m_opacity->isSliderDown())
            m_model->preview(next);
        else
            tell(m_model->edit(QStringLiteral("Dekking onderlegger"), next));
    });
    connect(m_opacity, &QSlider::sliderReleased, this,
            [this] { tell(m_model->commit(QStringLiteral("Dekking onderlegger"))); });
    return group;
}

QGroupBox *SituatiePanel::buildAnswersGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Oordeel"));
    auto *layout = new QVBoxLayout(group);
    m_verdict = new QLabel;
    m_verdict->setWordWrap(true);
    layout->addWidget(m_verdict);
    layout->addWidget(new QLabel(QStringLiteral("Afstand per zijde tot de perceelgrens:")));
    m_faces = readOnlyTable(FaceTableHeaders());
    layout->addWidget(m_faces);
    layout->addWidget(new QLabel(QStringLiteral("Ontvangers:")));
    m_receivers = readOnlyTable(ReceiverTableHeaders());
    layout->addWidget(m_receivers);
    return group;
}

engine::SiteStorage *SituatiePanel::selectedStorage(SituatieState &state) const
{
    const Selection s = m_model->selection();
    if (!state.hasSite || s.kind != SelectionKind::Storage || s.index >= int(state.site.storages.size()))
        return nullptr;
    return &state.site.storages[std::size_t(s.index)];
}

engine::SiteReceiver *SituatiePanel::selectedReceiver(SituatieState &state) const
{
    const Selection s = m_model->selection();
    if (!state.hasSite || s.kind != SelectionKind::Receiver || s.index >= int(state.site.receivers.size()))
        return nullptr;
    return &state.site.receivers[std::size_t(s.index)];
}

std::vector<engine::SitePoint> *SituatiePanel::selectedPolyline(SituatieState &state) const
{
    const Selection s = m_model->selection();
    if (!state.hasSite || s.kind != SelectionKind::Boundary || s.index >= int(state.site.boundary.size()))
        return nullptr;
    return &state.site.boundary[std::size_t(s.index)];
}

engine::FaceScreen *SituatiePanel::selectedScreen(SituatieState &state) const
{
    engine::SiteStorage *storage = selectedStorage(state);
    if (!storage)
        return nullptr;
    const int face = m_screenFace->currentIndex() + 1;
    for (engine::FaceScreen &screen : storage->screens) {
        if (screen.face == face)
            return &screen;
    }
    return nullptr;
}

QLineEdit *SituatiePanel::field(const QString &caption) const
{
    for (const auto &number : m_numbers) {
        if (number->caption == caption)
            return number->edit;
    }
    for (const auto &text : m_texts) {
        if (text->caption == caption)
            return text->edit;
    }
    return nullptr;
}

void SituatiePanel::tell(const QString &message)
{
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
    if (!message.isEmpty())
        emit refused(message);
}

void SituatiePanel::commitNumber(const NumberField &field)
{
    if (m_refreshing || !field.edit->isModified())
        return;
    field.edit->setModified(false);
    SituatieState next = m_model->committed();
    double *target = field.value(next);
    if (!target)
        return;
    double value = 0;
    if (!ParseTypedNumber(field.edit->text(), locale(), value) || value < field.minimum
        || value > field.maximum) {
        const QString unit = field.unit == QLatin1String("–") ? QString() : QLatin1Char(' ') + field.unit;
        tell(QStringLiteral("%1: geef een getal van %2 tot en met %3%4.")
                 .arg(field.caption, ShortestNumber(field.minimum, locale()),
                      ShortestNumber(field.maximum, locale()), unit));
        return;
    }
    *target = value;
    const QString refusal = m_model->edit(QStringLiteral("%1 wijzigen").arg(field.caption), next);
    tell(refusal.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(field.caption, refusal));
    refresh();
}

void SituatiePanel::commitText(const TextField &field)
{
    if (m_refreshing || !field.edit->isModified())
        return;
    field.edit->setModified(false);
    SituatieState next = m_model->committed();
    std::string *target = field.value(next);
    if (!target)
        return;
    *target = field.edit->text().trimmed().toStdString();
    const QString refusal = m_model->edit(QStringLiteral("%1 wijzigen").arg(field.caption), next);
    tell(refusal.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(field.caption, refusal));
    refresh();
}

void SituatiePanel::commitPoint(int row, int column)
{
    if (m_refreshing)
        return;
    SituatieState next = m_model->committed();
    std::vector<engine::SitePoint> *polyline = selectedPolyline(next);
    if (!polyline || row >= int(polyline->size()))
        return;
    double value = 0;
    const QString typed = m_points->item(row, column)->text();
    if (!ParseTypedNumber(typed, locale(), value) || std::abs(value) > kCoordinate) {
        tell(QStringLiteral("Grenspunt %1: geef een getal in meters.").arg(row + 1));
        refresh();
        return;
    }
    engine::SitePoint &point = (*polyline)[std::size_t(row)];
    (column == 0 ? point.x : point.y) = value;
    tell(m_model->edit(QStringLiteral("Grenspunt wijzigen"), next));
    refresh();
}

void SituatiePanel::editScreen()
{
    if (m_refreshing)
        return;
    SituatieState next = m_model->committed();
    engine::SiteStorage *storage = selectedStorage(next);
    if (!storage)
        return;
    const int face = m_screenFace->currentIndex() + 1;
    auto &screens = storage->screens;
    const auto existing = std::find_if(screens.begin(), screens.end(),
                                       [face](const engine::FaceScreen &s) { return s.face == face; });
    if (m_screen->isChecked() && existing == screens.end())
        screens.push_back({face, storage->height, 1, 1});
    else if (!m_screen->isChecked() && existing != screens.end())
        screens.erase(existing);
    tell(m_model->edit(
        m_screen->isChecked() ? QStringLiteral("Scherm plaatsen") : QStringLiteral("Scherm weghalen"), next));
}

void SituatiePanel::refresh()
{
    m_refreshing = true;
    SituatieState shown = m_model->shown();
    for (const auto &number : m_numbers) {
        const double *value = number->value(shown);
        number->edit->setEnabled(value != nullptr);
        // The text the user is typing stays until it is finished.
        if (number->edit->hasFocus() && number->edit->isModified())
            continue;
        number->edit->setText(value ? ShortestNumber(*value, locale()) : QString());
        number->edit->setModified(false);
    }
    for (const auto &text : m_texts) {
        const std::string *value = text->value(shown);
        text->edit->setEnabled(value != nullptr);
        if (!(text->edit->hasFocus() && text->edit->isModified())) {
            text->edit->setText(value ? QString::fromStdString(*value) : QString());
            text->edit->setModified(false);
        }
    }
    for (const auto &[box, value] : m_checks) {
        const bool *checked = value(shown);
        box->setEnabled(checked != nullptr);
        box->setChecked(checked && *checked);
    }
    engine::SiteStorage *storage = selectedStorage(shown);
    m_storageGroup->setVisible(storage != nullptr);
    m_screen->setChecked(selectedScreen(shown) != nullptr);
    m_screen->setEnabled(storage && !storage->indoor);
    m_receiverGroup->setVisible(selectedReceiver(shown) != nullptr);

    const std::vector<engine::SitePoint> *polyline = selectedPolyline(shown);
    m_boundaryGroup->setVisible(polyline != nullptr);
    if (polyline) {
        m_points->setRowCount(int(polyline->size()));
        double length = 0;
        for (int i = 0; i < int(polyline->size()); ++i) {
            const engine::SitePoint p = (*polyline)[std::size_t(i)];
            m_points->setItem(i, 0, new QTableWidgetItem(ShortestNumber(p.x, locale())));
            m_points->setItem(i, 1, new QTableWidgetItem(ShortestNumber(p.y, locale())));
            if (i > 0)
                length += std::hypot(p.x - (*polyline)[std::size_t(i) - 1].x,
                                     p.y - (*polyline)[std::size_t(i) - 1].y);
        }
        m_boundaryLength->setText(
            QStringLiteral("%1 punten, %2").arg(polyline->size()).arg(MetresText(length, locale())));
    }

    const Underlay &underlay = shown.underlay;
    m_underlayGroup->setEnabled(shown.hasSite);
    m_underlayName->setText(underlay.present
                                ? QFileInfo(underlay.path).fileName()
                                : QStringLiteral("Geen onderlegger. Open een afbeelding (PNG, JPEG), een "
                                                 "PDF of een tekening (DXF, GeoJSON, GeoPackage, "
                                                 "Shapefile)."));
    m_underlayName->setToolTip(underlay.path);
    m_opacity->setEnabled(underlay.present);
    m_opacity->setValue(int(std::lround(underlay.opacity * 100)));
    m_place->setEnabled(underlay.present && underlay.kind != UnderlayKind::Vector);
    m_refreshing = false;
    refreshAnswers();
}

void SituatiePanel::setResult(std::shared_ptr<const SituatieResult> result)
{
    m_result = std::move(result);
    refreshAnswers();
}

void SituatiePanel::setUnderlayStatus(const QString &status)
{
    m_underlayStatus->setText(status);
    m_underlayStatus->setVisible(!status.isEmpty());
}

QString SituatiePanel::underlayStatus() const
{
    return m_underlayStatus->text();
}

void SituatiePanel::refreshAnswers()
{
    const SituatieState &shown = m_model->shown();
    // Answers of another site than the one shown are not given as its answers.
    const bool current = m_result && shown.hasSite && SameSite(m_result->site, shown.site);
    if (!shown.hasSite) {
        m_verdict->clear();
    } else if (m_result && !m_result->refusal.isEmpty()) {
        m_verdict->setText(QStringLiteral("Geen oordeel: %1").arg(m_result->refusal));
    } else if (!current || !m_result->hasCheck) {
        m_verdict->setText(QStringLiteral("Wordt berekend…"));
    } else {
        m_verdict->setText(SiteVerdictSentence(m_result->check, m_result->site, locale()));
    }
    const bool answered = current && m_result->hasCheck;
    fill(m_faces,
         answered ? FaceTableRows(m_result->check, m_result->site, locale()) : std::vector<QStringList>());
    fill(m_receivers,
         answered ? ReceiverTableRows(m_result->check, m_result->site, locale())
                  : std::vector<QStringList>());
}

} // namespace explore
