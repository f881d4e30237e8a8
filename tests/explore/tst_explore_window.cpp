// The exploration window offscreen: its answers and its plan's hover text are the engine's numbers.

#include "answers_panel.h"
#include "explore_window.h"
#include "inputs_panel.h"
#include "modal_dialog_guard.h"
#include "view_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

Q_DECLARE_METATYPE(explore::Field)

using namespace explore;

class TestExploreWindow : public QObject
{
    Q_OBJECT

    static constexpr int kResolution = 24;

    std::unique_ptr<ExploreWindow> m_window;
    std::unique_ptr<ModalDialogGuard> m_guard;

    // Waits until the last change is computed through to the full plan.
    bool settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 300000) {
            QTest::qWait(20);
            const auto shown = m_window->exploration();
            if (!m_window->runner()->busy() && shown)
                return true;
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        m_guard = std::make_unique<ModalDialogGuard>();
    }
    void init()
    {
        m_window = std::make_unique<ExploreWindow>();
        m_window->runner()->setPlanResolution(kResolution);
        m_window->show();
        QVERIFY(settle());
    }
    void cleanup()
    {
        m_window.reset();
        QVERIFY2(m_guard->unexpected().isEmpty(), qPrintable(m_guard->unexpected().join('\n')));
    }

    void opensWithTheDefaultsAnswered()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Warmtegloed – Verkenning"));
        const engine::CalculationInput defaults;
        const engine::Solution distance = engine::Solve(defaults, engine::SolveQuantity::Distance, 15, false);
        QVERIFY(distance.found);
        QCOMPARE(m_window->answers()->distanceText(),
                 Number(distance.value, QLocale()) + QStringLiteral(" m"));
        QVERIFY(m_window->answers()->verdictText().contains(QStringLiteral("Voldoet niet")));
        QVERIFY(m_window->answers()->highestText().startsWith(QStringLiteral("44,76 kW/m² (punt 3")));
        QVERIFY(m_window->exploration()->planFinal);
        QCOMPARE(m_window->exploration()->plan.resolution, kResolution);
    }

    void wrongInputIsNamedBesideItsField_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("screen");
        QTest::addColumn<Field>("flagged");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << Field::Depth << "1O" << false << Field::Depth
                                      << "„1O” is geen getal; schrijf bijvoorbeeld 12,5.";
        QTest::newRow("efficiency above 1")
            << Field::Efficiency << "1,5" << true << Field::Efficiency << "Kies een waarde van 0 tot 1 –.";
        QTest::newRow("point moved before the screen")
            << Field::Distance << "5" << true << Field::ScreenDistance
            << "Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter zijn dan x.";
    }
    void wrongInputIsNamedBesideItsField()
    {
        QFETCH(Field, field);
        QFETCH(QString, typed);
        QFETCH(bool, screen);
        QFETCH(Field, flagged);
        QFETCH(QString, message);
        InputsPanel *inputs = m_window->inputs();
        if (screen) {
            inputs->screen()->setChecked(true);
            inputs->setValue(Field::Distance, 10);
            inputs->setValue(Field::ScreenDistance, 7);
            QVERIFY(settle());
        }
        QLineEdit *edit = inputs->edit(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed.chopped(1));
        const ExplorationInput before = inputs->input();
        const quint64 generation = m_window->runner()->generation();
        QTest::keyClick(edit, typed.back().toLatin1());
        QCOMPARE(inputs->message(flagged), message);
        QVERIFY(!inputs->valid());
        QCOMPARE(m_window->runner()->generation(), generation);
        QCOMPARE(inputs->input().storage.x, before.storage.x);
        QVERIFY(m_window->answers()->stateText().contains(QStringLiteral("laatste juiste invoer")));
        // Putting it right clears the message and recomputes.
        inputs->setValue(field, field == Field::Efficiency ? 1 : 10);
        QVERIFY(inputs->message(flagged).isEmpty());
        QVERIFY(m_window->runner()->generation() > generation);
    }

    void hoverReadsTheLevelUnderTheCursor()
    {
        m_window->tabs()->setCurrentIndex(2);
        ViewWidget *plan = m_window->view(ViewKind::Plan);
        const auto shown = m_window->exploration();
        const PlanLayout layout = LayoutPlan(QRectF(plan->rect()), *shown, plan->logicalDpiY() / 96.0);
        const engine::ScalarGrid &grid = shown->plan.grid;
        const QPointF node = layout.toDevice(grid.x0 + 5 * grid.dx, grid.y0 + 7 * grid.dy);
        const QString text = plan->hoverText(node);
        const QPointF world = layout.toWorld(node);
        double level = 0;
        QVERIFY(PlanLevelAt(shown->input, world.x(), world.y(), level));
        QCOMPARE(
            text,
            QStringLiteral("x = %1 m, y = %2 m: %3 kW/m²")
                .arg(Number(world.x(), QLocale()), Number(world.y(), QLocale()), Number(level, QLocale())));
        QVERIFY(std::abs(level - grid.value(5, 7)) < 0.05);
        QVERIFY(plan->hoverText(QPointF(1, 1)).isEmpty());
    }
};

QTEST_MAIN(TestExploreWindow)
#include "tst_explore_window.moc"
