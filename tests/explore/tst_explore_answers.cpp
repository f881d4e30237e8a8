// The answers in words: the verdict when the level between the points exceeds the limit,
// answers at the edge of a solver's search, and colours that read in a light and a dark palette.

#include "answers_panel.h"
#include "window_colours.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using namespace explore;

Q_DECLARE_METATYPE(explore::Verdict)
Q_DECLARE_METATYPE(engine::SolutionBound)

namespace {

// An exploration whose answers are set by hand, so that each row says exactly what the
// engine reported.
Exploration answered(double highestKw, double envelopeKw, double limitKw)
{
    Exploration exploration;
    exploration.hasAnswers = true;
    exploration.input.limitKw = limitKw;
    engine::LimitCheck &check = exploration.answers.check;
    check.limit = limitKw * 1000;
    check.highest = highestKw * 1000;
    check.point = 2;
    check.height = 7.5;
    check.complies = check.highest <= check.limit;
    check.envelopeHighest = envelopeKw * 1000;
    check.envelopeHeight = 8.25;
    check.envelopeComplies = check.envelopeHighest <= check.limit;
    for (engine::Solution *solution :
         {&exploration.answers.distance, &exploration.answers.height, &exploration.answers.width}) {
        solution->found = true;
        solution->value = 3.92;
    }
    exploration.answers.distance.quantity = engine::SolveQuantity::Distance;
    exploration.answers.height.quantity = engine::SolveQuantity::Height;
    exploration.answers.width.quantity = engine::SolveQuantity::Width;
    exploration.answers.width.position = 1.96;
    return exploration;
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x38));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    return dark;
}

} // namespace

class TestExploreAnswers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void verdictSaysWhatLiesBetweenThePoints_data()
    {
        QTest::addColumn<double>("highest");
        QTest::addColumn<double>("envelope");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("badge");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("points and envelope comply")
            << 14.2 << 14.9 << Verdict::Complies << "✔ Voldoet: ten hoogste 15,00 kW/m²"
            << "Voldoet: het hoogste";
        QTest::newRow("points comply, the envelope does not")
            << 14.97 << 15.01 << Verdict::CompliesOnlyAtPoints
            << "⚠ Voldoet alleen op de vijf punten: ertussen 15,01 kW/m² op 8,25 m"
            << "tussen de punten bereikt het 15,01 kW/m² op 8,25 m hoogte, meer dan de grenswaarde van 15,00";
        QTest::newRow("points exceed")
            << 44.76 << 44.9 << Verdict::DoesNotComply << "✘ Voldoet niet: meer dan 15,00 kW/m²"
            << "Voldoet niet: het hoogste";
    }
    void verdictSaysWhatLiesBetweenThePoints()
    {
        QFETCH(double, highest);
        QFETCH(double, envelope);
        QFETCH(Verdict, verdict);
        QFETCH(QString, badge);
        QFETCH(QString, sentence);
        const Exploration exploration = answered(highest, envelope, 15);
        const AnswerTexts texts = DescribeAnswers(exploration, QLocale());
        QCOMPARE(texts.verdict, verdict);
        QCOMPARE(texts.verdictBadge, badge);
        QVERIFY2(texts.verdictSentence.contains(sentence), qPrintable(texts.verdictSentence));
        AnswersPanel panel;
        panel.showExploration(exploration);
        QCOMPARE(panel.verdictText(), badge);
        QCOMPARE(panel.verdict(), verdict);
    }

    void boundAnswersSayWhereTheSearchEnded_data()
    {
        QTest::addColumn<int>("which"); // 0 distance, 1 height, 2 width
        QTest::addColumn<double>("value");
        QTest::addColumn<engine::SolutionBound>("bound");
        QTest::addColumn<QString>("text");
        QTest::newRow("every distance")
            << 0 << 0.1 << engine::SolutionBound::Lowest << "elke afstand voldoet";
        QTest::newRow("top of the heights") << 1 << 15.0 << engine::SolutionBound::Highest
                                            << "≥ 15,00 m (hoogste onderzochte hoogte, bij x = 5,00 m)";
        QTest::newRow("ordinary height")
            << 1 << 1.29 << engine::SolutionBound::None << "1,29 m (bij x = 5,00 m)";
        QTest::newRow("top of the widths") << 2 << 10000.0 << engine::SolutionBound::Highest
                                           << "≥ 10.000,00 m (grootste onderzochte breedte, bij x = 5,00 m, "
                                              "punt midden voor de zijde: y = 1,96 m)";
        QTest::newRow("ordinary width") << 2 << 3.92 << engine::SolutionBound::None
                                        << "3,92 m (bij x = 5,00 m, punt midden voor de zijde: y = 1,96 m)";
    }
    void boundAnswersSayWhereTheSearchEnded()
    {
        QFETCH(int, which);
        QFETCH(double, value);
        QFETCH(engine::SolutionBound, bound);
        QFETCH(QString, text);
        Exploration exploration = answered(44.76, 44.9, 15);
        engine::Solution *solutions[] = {&exploration.answers.distance, &exploration.answers.height,
                                         &exploration.answers.width};
        solutions[which]->value = value;
        solutions[which]->bound = bound;
        const AnswerTexts texts = DescribeAnswers(exploration, QLocale());
        const QString shown[] = {texts.distance, texts.height, texts.widthInFull};
        QCOMPARE(shown[which], text);
        // On the panel the width is short; the point's position is in its tool tip and the report.
        if (which == 2)
            QCOMPARE(texts.width, QString(text).remove(QStringLiteral(": y = 1,96 m")));
    }

    void everyDistanceBehindAScreen()
    {
        Exploration exploration = answered(14, 14, 15);
        exploration.input.storage.screen = true;
        exploration.answers.distance.bound = engine::SolutionBound::Lowest;
        QCOMPARE(DescribeAnswers(exploration, QLocale()).distance,
                 QStringLiteral("elke afstand achter het scherm voldoet"));
    }

    // Every colour of the answers and the inputs' errors stands out from what it is drawn on.
    void coloursReadInLightAndDark_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QPalette(QColor(0xef, 0xef, 0xef));
        QTest::newRow("dark") << darkPalette();
    }
    void coloursReadInLightAndDark()
    {
        QFETCH(QPalette, palette);
        const double error = ContrastRatio(ErrorTextColour(palette), palette.color(QPalette::Window));
        QVERIFY2(error >= 4.5, qPrintable(QString::number(error)));
        for (Verdict verdict : {Verdict::Complies, Verdict::CompliesOnlyAtPoints, Verdict::DoesNotComply,
                                Verdict::Incomplete}) {
            const BadgeColours colours = VerdictColours(verdict, palette);
            const double badge = ContrastRatio(colours.text, colours.background);
            QVERIFY2(badge >= 4.5, qPrintable(QStringLiteral("verdict %1: %2").arg(int(verdict)).arg(badge)));
        }
        // The panel in that palette: an incomplete input's state line in the error colour.
        AnswersPanel panel;
        panel.setPalette(palette);
        panel.showIncomplete(QStringLiteral("Breedte opslag (B): Vul een getal in."));
        const QLabel *state = nullptr;
        for (const QLabel *label : panel.findChildren<QLabel *>()) {
            if (label->text() == panel.stateText())
                state = label;
        }
        QVERIFY(state);
        const double stateContrast =
            ContrastRatio(state->palette().color(QPalette::WindowText), palette.color(QPalette::Window));
        QVERIFY2(stateContrast >= 4.5, qPrintable(QString::number(stateContrast)));
    }
};

QTEST_MAIN(TestExploreAnswers)
#include "tst_explore_answers.moc"
