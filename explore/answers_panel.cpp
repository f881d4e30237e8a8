#include "answers_panel.h"

#include "view_painter.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>

namespace explore {
namespace {

const QString kBusy = QStringLiteral("Berekenen…");

QString oneLine(const std::string &message)
{
    return QString::fromStdString(message).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString metres(double value, const QLocale &locale)
{
    return Number(value, locale) + QStringLiteral(" m");
}

// An answer of a solver: the value, or what its search could say when the value lies
// at the edge of the range searched, or why there is none.
// The width names the point it was judged at, in full with that point's position.
QString solutionText(const engine::Solution &solution, const ExplorationInput &input, const QLocale &locale,
                     bool inFull = false)
{
    if (!solution.ok() || !solution.found)
        return oneLine(solution.message);
    if (solution.bound == engine::SolutionBound::Lowest)
        return input.screenActive() ? QStringLiteral("elke afstand achter het scherm voldoet")
                                    : QStringLiteral("elke afstand voldoet");
    const bool atTop = solution.bound == engine::SolutionBound::Highest;
    const QString at = QStringLiteral("bij x = %1").arg(metres(input.storage.x, locale));
    switch (solution.quantity) {
    case engine::SolveQuantity::Distance:
        break;
    case engine::SolveQuantity::Height:
        return atTop
            ? QStringLiteral("≥ %1 (hoogste onderzochte hoogte, %2)").arg(metres(solution.value, locale), at)
            : QStringLiteral("%1 (%2)").arg(metres(solution.value, locale), at);
    case engine::SolveQuantity::Width: {
        // The width is judged for a point in front of the middle of the face.
        QString point = QStringLiteral("punt midden voor de zijde");
        if (inFull)
            point += QStringLiteral(": y = %1").arg(metres(solution.position, locale));
        return atTop ? QStringLiteral("≥ %1 (grootste onderzochte breedte, %2, %3)")
                           .arg(metres(solution.value, locale), at, point)
                     : QStringLiteral("%1 (%2, %3)").arg(metres(solution.value, locale), at, point);
    }
    }
    return metres(solution.value, locale);
}

} // namespace

AnswerTexts DescribeAnswers(const Exploration &exploration, const QLocale &locale)
{
    AnswerTexts texts;
    const engine::LimitCheck &check = exploration.answers.check;
    const ExplorationInput &input = exploration.input;
    QString where;
    if (input.storage.indoor)
        where = QStringLiteral("halve gebouwhoogte");
    else if (check.point >= 0)
        where = QStringLiteral("punt %1").arg(check.point + 1);
    else
        where = QStringLiteral("tussen de punten");
    const QString highest = Number(check.highest / 1000, locale) + QStringLiteral(" kW/m²");
    const QString limit = Number(input.limitKw, locale) + QStringLiteral(" kW/m²");
    texts.highest = QStringLiteral("%1 (%2, %3)").arg(highest, where, metres(check.height, locale));
    texts.decisiveHeight = metres(check.height, locale);
    const QString over = input.envelope && !input.storage.indoor
        ? QStringLiteral("over elke hoogte van 0 m tot het hoogste beoordelingspunt")
        : input.storage.indoor ? QStringLiteral("op halve gebouwhoogte")
                               : QStringLiteral("op de vijf beoordelingspunten");
    if (check.compliesOnlyAtPoints()) {
        const QString between = Number(check.envelopeHighest / 1000, locale) + QStringLiteral(" kW/m²");
        texts.verdict = Verdict::CompliesOnlyAtPoints;
        texts.verdictBadge = QStringLiteral("⚠ Voldoet alleen op de vijf punten: ertussen %1 op %2")
                                 .arg(between, metres(check.envelopeHeight, locale));
        texts.verdictSentence =
            QStringLiteral(
                "Voldoet alleen op de vijf beoordelingspunten. Daar is het hoogste "
                "warmtestralingsniveau %1 (%2), maar tussen de punten bereikt het %3 op %4 hoogte, "
                "meer dan de grenswaarde van %5. Toets met de omhullende over alle hoogtes.")
                .arg(texts.highest, over, between, metres(check.envelopeHeight, locale), limit);
    } else if (check.complies) {
        texts.verdict = Verdict::Complies;
        texts.verdictBadge = QStringLiteral("✔ Voldoet: ten hoogste %1").arg(limit);
        texts.verdictSentence =
            QStringLiteral(
                "Voldoet: het hoogste warmtestralingsniveau %1 is %2, niet meer dan de grenswaarde "
                "van %3.")
                .arg(over, texts.highest, limit);
    } else {
        texts.verdict = Verdict::DoesNotComply;
        texts.verdictBadge = QStringLiteral("✘ Voldoet niet: meer dan %1").arg(limit);
        texts.verdictSentence =
            QStringLiteral(
                "Voldoet niet: het hoogste warmtestralingsniveau %1 is %2, meer dan de grenswaarde "
                "van %3.")
                .arg(over, texts.highest, limit);
    }
    texts.distance = solutionText(exploration.answers.distance, input, locale);
    texts.height = solutionText(exploration.answers.height, input, locale);
    texts.width = solutionText(exploration.answers.width, input, locale);
    texts.widthInFull = solutionText(exploration.answers.width, input, locale, true);
    return texts;
}

AnswersPanel::AnswersPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    m_lines = new QWidget(this);
    auto *grid = new QGridLayout(m_lines);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    m_highest = addAnswer(QStringLiteral("Hoogste niveau:"));
    m_decisive = addAnswer(QStringLiteral("Maatgevende hoogte:"));
    m_distance = addAnswer(QStringLiteral("Minimale afstand:"));
    m_height = addAnswer(QStringLiteral("Grootste hoogte opslag:"));
    m_width = addAnswer(QStringLiteral("Grootste breedte opslag:"));
    m_state = new QLabel(m_lines);
    m_state->setWordWrap(true);
    grid->addWidget(m_state, grid->rowCount(), 0, 1, 2);

    m_verdict = new QLabel(this);
    m_verdict->setMargin(6);
    m_verdict->setWordWrap(true);
    m_verdict->setAutoFillBackground(true);
    m_verdict->setAccessibleName(QStringLiteral("Oordeel"));
    m_verdict->setAlignment(Qt::AlignCenter);
    QFont bold = m_verdict->font();
    bold.setBold(true);
    m_verdict->setFont(bold);

    m_layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_layout->setContentsMargins(8, 6, 8, 6);
    m_layout->addWidget(m_lines, 1);
    m_layout->addWidget(m_verdict, 0, Qt::AlignTop);
    setVerdict(Verdict::Incomplete, kBusy);
    showBusy(true);
}

QLabel *AnswersPanel::addAnswer(const QString &caption)
{
    auto *grid = static_cast<QGridLayout *>(m_lines->layout());
    auto *label = new QLabel(caption, m_lines);
    auto *value = new QLabel(QStringLiteral("–"), m_lines);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAccessibleName(caption);
    value->setWordWrap(true);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0, Qt::AlignTop);
    grid->addWidget(value, row, 1);
    return value;
}

// Beside the answers the badge is as wide as its text, up to a limit past which it wraps;
// above them it takes the whole width.
void AnswersPanel::fitBadge(bool roomBeside)
{
    const int widest = fontMetrics().averageCharWidth() * 56;
    const QFontMetrics metrics = m_verdict->fontMetrics();
    const int text = metrics.horizontalAdvance(m_verdict->text()) + 2 * m_verdict->margin()
        + 2 * metrics.averageCharWidth();
    m_verdict->setMinimumWidth(roomBeside ? std::min(text, widest) : 0);
    m_verdict->setMaximumWidth(roomBeside ? widest : QWIDGETSIZE_MAX);
}

void AnswersPanel::setVerdict(Verdict kind, const QString &text)
{
    m_kind = kind;
    m_verdict->setText(text);
    fitBadge(m_layout && m_layout->direction() == QBoxLayout::LeftToRight);
    const BadgeColours colours = VerdictColours(kind, palette());
    QPalette badge = m_verdict->palette();
    badge.setColor(QPalette::Window, colours.background);
    badge.setColor(QPalette::WindowText, colours.text);
    m_verdict->setPalette(badge);
}

void AnswersPanel::setGreyed(bool greyed)
{
    m_lines->setEnabled(!greyed);
    // The state line speaks for the panel and is never greyed.
    m_state->setEnabled(true);
}

bool AnswersPanel::greyed() const
{
    return !m_lines->isEnabled();
}

void AnswersPanel::setState(const QString &text, bool error)
{
    m_stateIsError = error;
    m_state->setText(text);
    QPalette state = palette();
    if (error)
        state.setColor(QPalette::WindowText, ErrorTextColour(palette()));
    m_state->setPalette(state);
}

void AnswersPanel::showExploration(const Exploration &exploration)
{
    setGreyed(false);
    if (exploration.refusal.refused() && !exploration.hasAnswers) {
        for (QLabel *label : {m_highest, m_distance, m_height, m_width, m_decisive})
            label->setText(QStringLiteral("–"));
        setVerdict(Verdict::Incomplete, QStringLiteral("Geen oordeel"));
        setState(oneLine(exploration.refusal.message), true);
        return;
    }
    const AnswerTexts texts = DescribeAnswers(exploration, locale());
    m_highest->setText(texts.highest);
    setVerdict(texts.verdict, texts.verdictBadge);
    m_verdict->setToolTip(texts.verdictSentence);
    m_distance->setText(texts.distance);
    m_height->setText(texts.height);
    m_width->setText(texts.width);
    m_width->setToolTip(texts.widthInFull);
    m_decisive->setText(texts.decisiveHeight);
    setState(exploration.refusal.refused() ? oneLine(exploration.refusal.message) : QString(), false);
}

void AnswersPanel::showBusy(bool busy)
{
    if (greyed())
        return;
    if (busy)
        setState(kBusy, false);
    else if (m_state->text() == kBusy)
        setState(QString(), false);
}

void AnswersPanel::showIncomplete(const QString &reason)
{
    setGreyed(true);
    setVerdict(Verdict::Incomplete, QStringLiteral("Invoer onvolledig"));
    m_verdict->setToolTip(reason);
    setState(QStringLiteral("%1 Grijs: de antwoorden van een eerdere invoer.").arg(reason), true);
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

QString AnswersPanel::stateText() const
{
    return m_state->text();
}

// The badge stands beside the answers where there is room for both, above them where
// there is not.
void AnswersPanel::resizeEvent(QResizeEvent *event)
{
    const bool roomBeside = width() >= fontMetrics().averageCharWidth() * 100;
    const auto direction = roomBeside ? QBoxLayout::LeftToRight : QBoxLayout::BottomToTop;
    if (m_layout->direction() != direction)
        m_layout->setDirection(direction);
    m_layout->setAlignment(m_verdict, roomBeside ? Qt::AlignTop : Qt::Alignment());
    fitBadge(roomBeside);
    reserveLines(roomBeside);
    QFrame::resizeEvent(event);
}

// Each answer keeps the lines its usual texts take at this width, and the state line two,
// so that a new answer or message does not move the views below.
void AnswersPanel::reserveLines(bool roomBeside)
{
    const int line = m_highest->fontMetrics().lineSpacing();
    for (QLabel *value : {m_highest, m_decisive, m_distance, m_height})
        value->setMinimumHeight((roomBeside ? 1 : 2) * line);
    m_width->setMinimumHeight(2 * line);
    m_state->setMinimumHeight(2 * m_state->fontMetrics().lineSpacing());
}

void AnswersPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange) {
        setVerdict(m_kind, m_verdict->text());
        setState(m_state->text(), m_stateIsError);
    }
    QFrame::changeEvent(event);
}

} // namespace explore
