#pragma once

#include "exploration.h"
#include "window_colours.h"

#include <QFrame>

class QBoxLayout;
class QLabel;

namespace explore {

// The Dutch answer lines, shared by the panel and the report.
struct AnswerTexts
{
    QString highest;
    Verdict verdict = Verdict::DoesNotComply;
    QString verdictBadge;    // short, on the badge
    QString verdictSentence; // the verdict in words, for the report's first page
    QString distance;
    QString height;
    QString width;       // short, for the panel
    QString widthInFull; // with the position of the point it was judged at
    QString decisiveHeight;
};
AnswerTexts DescribeAnswers(const Exploration &exploration, const QLocale &locale);

// The answers to the limit questions, always in view: the highest level and the verdict
// (a badge with words and colour), the minimal distance, the largest height and width,
// the height that decides. While the input is incomplete they stay, greyed, under a
// badge that says so: the answers of an earlier input.
class AnswersPanel : public QFrame
{
    Q_OBJECT

public:
    explicit AnswersPanel(QWidget *parent = nullptr);

    void showExploration(const Exploration &exploration);
    void showBusy(bool busy);
    // The input is incomplete for `reason`: the answers go grey, the badge says so.
    void showIncomplete(const QString &reason);

    QString highestText() const;
    QString verdictText() const;
    QString distanceText() const;
    QString stateText() const;
    const QLabel *badge() const { return m_verdict; }
    Verdict verdict() const { return m_kind; }
    bool greyed() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QLabel *addAnswer(const QString &caption);
    void setVerdict(Verdict kind, const QString &text);
    void setGreyed(bool greyed);
    void setState(const QString &text, bool error);
    void reserveLines(bool roomBeside);
    void fitBadge(bool roomBeside);

    QBoxLayout *m_layout = nullptr;
    QWidget *m_lines = nullptr;
    QLabel *m_highest = nullptr;
    QLabel *m_verdict = nullptr;
    QLabel *m_distance = nullptr;
    QLabel *m_height = nullptr;
    QLabel *m_width = nullptr;
    QLabel *m_decisive = nullptr;
    QLabel *m_state = nullptr;
    Verdict m_kind = Verdict::Incomplete;
    bool m_stateIsError = false;
};

} // namespace explore
