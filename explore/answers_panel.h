#pragma once

#include "exploration.h"

#include <QFrame>

class QLabel;

namespace explore {

// The answers to the limit questions, always in view: the highest level and whether it
// complies (colour and words), the minimal distance, the largest height and width, the
// height that decides.
class AnswersPanel : public QFrame
{
    Q_OBJECT

public:
    explicit AnswersPanel(QWidget *parent = nullptr);

    void showExploration(const Exploration &exploration);
    void showBusy(bool busy);
    void showInvalidInput();

    QString highestText() const;
    QString verdictText() const;
    QString distanceText() const;
    QString heightText() const;
    QString widthText() const;
    QString decisiveHeightText() const;
    QString stateText() const;

private:
    QLabel *addAnswer(int row, const QString &caption);

    QLabel *m_highest = nullptr;
    QLabel *m_verdict = nullptr;
    QLabel *m_distance = nullptr;
    QLabel *m_height = nullptr;
    QLabel *m_width = nullptr;
    QLabel *m_decisive = nullptr;
    QLabel *m_state = nullptr;
    QLabel *m_heightCaption = nullptr;
    QLabel *m_widthCaption = nullptr;
};

// The Dutch answer lines, shared by the panel and the report.
struct AnswerTexts
{
    QString highest;
    QString verdict;
    bool complies = false;
    QString distance;
    QString height;
    QString width;
    QString decisiveHeight;
};
AnswerTexts DescribeAnswers(const Exploration &exploration, const QLocale &locale);

} // namespace explore
