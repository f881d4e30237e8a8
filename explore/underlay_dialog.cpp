#include "underlay_dialog.h"

#include "typed_numbers.h"
#include "window_colours.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace explore {
namespace {

constexpr double kCoordinate = 10000000; // m, as the case file allows

} // namespace

UnderlayDialog::UnderlayDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Onderlegger plaatsen"));
    auto *layout = new QVBoxLayout(this);
    auto *intro =
        new QLabel(QStringLiteral("U hebt twee punten op de onderlegger aangeklikt. Geef hun afstand "
                                  "(dan volgt alleen de schaal) of hun coördinaten op de situatie (dan "
                                  "volgen schaal, draaiing en plaats)."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *grid = new QGridLayout;
    m_byDistance = new QRadioButton(QStringLiteral("&Afstand tussen de punten"));
    m_byCoordinates = new QRadioButton(QStringLiteral("&Coördinaten op de situatie"));
    m_byDistance->setChecked(true);
    m_distance = new QLineEdit;
    grid->addWidget(m_byDistance, 0, 0, 1, 2);
    grid->addWidget(m_distance, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("m")), 0, 3);
    grid->addWidget(m_byCoordinates, 1, 0, 1, 4);
    const QString captions[4] = {QStringLiteral("Punt &1: x"), QStringLiteral("y"),
                                 QStringLiteral("Punt &2: x"), QStringLiteral("y")};
    for (int i = 0; i < 4; ++i) {
        m_coordinates[i] = new QLineEdit;
        auto *label = new QLabel(captions[i]);
        label->setBuddy(m_coordinates[i]);
        grid->addWidget(label, 2 + i / 2, (i % 2) * 2);
        grid->addWidget(m_coordinates[i], 2 + i / 2, (i % 2) * 2 + 1);
    }
    layout->addLayout(grid);
    m_error = new QLabel;
    m_error->setWordWrap(true);
    QPalette error = m_error->palette();
    error.setColor(QPalette::WindowText, ErrorTextColour(palette()));
    m_error->setPalette(error);
    m_error->hide();
    layout->addWidget(m_error);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuleren"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &UnderlayDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UnderlayDialog::reject);
    connect(m_byDistance, &QRadioButton::toggled, this, &UnderlayDialog::choiceChanged);
    choiceChanged();
}

void UnderlayDialog::choiceChanged()
{
    const bool distance = m_byDistance->isChecked();
    m_distance->setEnabled(distance);
    for (QLineEdit *edit : m_coordinates)
        edit->setEnabled(!distance);
    (distance ? m_distance : m_coordinates[0])->setFocus();
}

void UnderlayDialog::accept()
{
    PlacementAnswer answer;
    answer.byDistance = m_byDistance->isChecked();
    QString problem;
    if (answer.byDistance) {
        if (!ParseTypedNumber(m_distance->text(), locale(), answer.distance) || !(answer.distance > 0))
            problem = QStringLiteral("Geef de afstand tussen de twee punten in meters, groter dan 0.");
    } else {
        double values[4] {};
        for (int i = 0; i < 4 && problem.isEmpty(); ++i) {
            if (!ParseTypedNumber(m_coordinates[i]->text(), locale(), values[i])
                || std::abs(values[i]) > kCoordinate)
                problem = QStringLiteral("Geef beide punten als x en y in meters op de situatie.");
        }
        answer.first = {values[0], values[1]};
        answer.second = {values[2], values[3]};
    }
    if (!problem.isEmpty()) {
        m_error->setText(problem);
        m_error->show();
        return;
    }
    m_answer = answer;
    QDialog::accept();
}

} // namespace explore
