#include "answers_panel.h"

#include "view_painter.h"

#include <QGridLayout>
#include <QLabel>

namespace explore {
namespace {

QString solutionText(const engine::Solution &solution, const QLocale &locale)
{
    if (!solution.ok() || !solution.found)
        return QString::fromStdString(solution.message).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return Number(solution.value, locale) + QStringLiteral(" m");
}

} // namespace

AnswerTexts DescribeAnswers(const Exploration &exploration, const QLocale &locale)
{
    AnswerTexts texts;
    const engine::LimitCheck &check = exploration.answers.check;
    const ExplorationInput &input = exploration.input;
    QString where;
    if (input.storage.indoor)
        where = QStringLiteral("beoordelingspunt op halve gebouwhoogte");
    else if (check.point >= 0)
        where = QStringLiteral("punt %1").arg(check.point + 1);
    else
        where = QStringLiteral("tussen de punten");
    texts.highest = QStringLiteral("%1 kW/m² (%2, %3 m)")
                        .arg(Number(check.highest / 1000, locale), where, Number(check.height, locale));
    texts.complies = check.complies;
    texts.verdict = check.complies
        ? QStringLiteral("✔ Voldoet: ten hoogste %1 kW/m²").arg(Number(input.limitKw, locale))
        : QStringLiteral("✘ Voldoet niet: meer dan %1 kW/m²").arg(Number(input.limitKw, locale));
    texts.distance = solutionText(exploration.answers.distance, locale);
    texts.height = solutionText(exploration.answers.height, locale);
    texts.width = solutionText(exploration.answers.width, locale);
    texts.decisiveHeight = Number(check.height, locale) + QStringLiteral(" m");
    return texts;
}

AnswersPanel::AnswersPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(2);
    m_highest = addAnswer(0, QStringLiteral("Hoogste niveau:"));
    m_verdict = new QLabel(this);
    m_verdict->setMargin(4);
    m_verdict->setAccessibleName(QStringLiteral("Oordeel"));
    grid->addWidget(m_verdict, 0, 2, 2, 1);
    m_decisive = addAnswer(1, QStringLiteral("Maatgevende hoogte:"));
    m_distance = addAnswer(2, QStringLiteral("Minimale afstand:"));
    m_height = addAnswer(3, QStringLiteral("Grootste hoogte opslag:"));
    m_width = addAnswer(4, QStringLiteral("Grootste breedte opslag:"));
    m_heightCaption = qobject_cast<QLabel *>(grid->itemAtPosition(3, 0)->widget());
    m_widthCaption = qobject_cast<QLabel *>(grid->itemAtPosition(4, 0)->widget());
    m_state = new QLabel(this);
    m_state->setWordWrap(true);
    grid->addWidget(m_state, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    showBusy(true);
}

QLabel *AnswersPanel::addAnswer(int row, const QString &caption)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    auto *label = new QLabel(caption, this);
    auto *value = new QLabel(QStringLiteral("–"), this);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAccessibleName(caption);
    value->setWordWrap(true);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

void AnswersPanel::showExploration(const Exploration &exploration)
{
    if (exploration.refusal.refused() && !exploration.hasAnswers) {
        for (QLabel *label : {m_highest, m_distance, m_height, m_width, m_decisive})
            label->setText(QStringLiteral("–"));
        m_verdict->clear();
        m_verdict->setStyleSheet(QString());
        m_state->setText(
            QString::fromStdString(exploration.refusal.message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        m_state->setStyleSheet(QStringLiteral("color: #a00000;"));
        return;
    }
    const AnswerTexts texts = DescribeAnswers(exploration, locale());
    m_highest->setText(texts.highest);
    m_verdict->setText(texts.verdict);
    m_verdict->setStyleSheet(texts.complies
                                 ? QStringLiteral("background: #1b7a2e; color: white; font-weight: bold;")
                                 : QStringLiteral("background: #b00020; color: white; font-weight: bold;"));
    m_distance->setText(texts.distance);
    m_height->setText(texts.height);
    m_width->setText(texts.width);
    m_decisive->setText(texts.decisiveHeight);
    const QString at = QStringLiteral(" (bij x = %1 m):").arg(Number(exploration.input.storage.x, locale()));
    m_heightCaption->setText(QStringLiteral("Grootste hoogte opslag") + at);
    m_widthCaption->setText(QStringLiteral("Grootste breedte opslag") + at);
    m_state->setStyleSheet(QString());
    m_state->setText(
        exploration.refusal.refused()
            ? QString::fromStdString(exploration.refusal.message).replace(QLatin1Char('\n'), QLatin1Char(' '))
            : QString());
}

void AnswersPanel::showBusy(bool busy)
{
    if (busy) {
        m_state->setStyleSheet(QString());
        m_state->setText(QStringLiteral("Berekenen…"));
    } else if (m_state->text() == QStringLiteral("Berekenen…")) {
        m_state->clear();
    }
}

void AnswersPanel::showInvalidInput()
{
    m_state->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_state->setText(
        QStringLiteral("De invoer bevat een fout (zie de melding bij het veld); de antwoorden horen bij de "
                       "laatste juiste invoer."));
}

QString AnswersPanel::highestText() const
{
    return m_highest->text();
}
QString AnswersPanel::verdictText() const
{
    return m_verdict->text();
}
QString AnswersPanel::distanceText() const
{
    return m_distance->text();
}
QString AnswersPanel::heightText() const
{
    return m_height->text();
}
QString AnswersPanel::widthText() const
{
    return m_width->text();
}
QString AnswersPanel::decisiveHeightText() const
{
    return m_decisive->text();
}
QString AnswersPanel::stateText() const
{
    return m_state->text();
}

} // namespace explore
