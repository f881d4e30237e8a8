// The exploration window offscreen: checked inputs with messages beside the fields, the
// coupled inputs, the answers after a change, the table and its copy.

#include "answers_panel.h"
#include "explore_window.h"
#include "inputs_panel.h"
#include "modal_dialog_guard.h"
#include "view_table.h"
#include "view_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace explore;

Q_DECLARE_METATYPE(explore::Field)

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
        QTest::newRow("empty") << Field::Height << "" << false << Field::Height << "Vul een getal in.";
        QTest::newRow("below the minimum")
            << Field::Width << "1,5" << false << Field::Width << "Kies een waarde van 2 tot 10000 m.";
        QTest::newRow("efficiency above 1")
            << Field::Efficiency << "1,5" << true << Field::Efficiency << "Kies een waarde van 0 tot 1 –.";
        QTest::newRow("screen beyond the point")
            << Field::ScreenDistance << "12" << true << Field::ScreenDistance
            << "Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter zijn dan x.";
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
        QTest::keyClicks(edit, typed.chopped(typed.isEmpty() ? 0 : 1));
        const ExplorationInput before = inputs->input();
        const quint64 generation = m_window->runner()->generation();
        if (!typed.isEmpty())
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

    void theWidthCarriesTheMiddlePoint_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("shownPosition");
        QTest::newRow("point in the middle follows") << 5.0 << 31.0 << "15,5";
        QTest::newRow("point set aside stays") << 3.0 << 31.0 << "3";
    }
    void theWidthCarriesTheMiddlePoint()
    {
        QFETCH(double, position);
        QFETCH(double, width);
        QFETCH(QString, shownPosition);
        m_window->inputs()->setValue(Field::Position, position);
        QTest::keyClick(m_window->inputs()->edit(Field::Width), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(m_window->inputs()->edit(Field::Width), QLocale().toString(width));
        QCOMPARE(m_window->inputs()->edit(Field::Position)->text(), shownPosition);
        QVERIFY(settle());
        QCOMPARE(m_window->exploration()->input.storage.B, width);
        QCOMPARE(m_window->exploration()->extent.yTo - m_window->exploration()->extent.yFrom,
                 width + m_window->exploration()->extent.xTo);
    }

    void arrowKeysStepAndIndoorSwitchesOff()
    {
        InputsPanel *inputs = m_window->inputs();
        QTest::keyClick(inputs->edit(Field::Height), Qt::Key_Up);
        QCOMPARE(inputs->edit(Field::Height)->text(), QStringLiteral("9"));
        QTest::keyClick(inputs->edit(Field::Height), Qt::Key_PageUp);
        QCOMPARE(inputs->edit(Field::Height)->text(), QStringLiteral("14"));
        QTest::keyClick(inputs->edit(Field::Height), Qt::Key_PageUp);
        QCOMPARE(inputs->edit(Field::Height)->text(), QStringLiteral("15"));
        inputs->indoor()->setChecked(true);
        QVERIFY(!inputs->edit(Field::Point2)->isEnabled());
        QVERIFY(!inputs->screen()->isEnabled());
        QVERIFY(inputs->edit(Field::Point1)->isEnabled());
        QVERIFY(settle());
        QCOMPARE(m_window->exploration()->distance.levels.size(), size_t(1));
        QVERIFY(m_window->answers()->highestText().contains(QStringLiteral("halve gebouwhoogte")));
    }

    void limitPresetsAndTheirSources()
    {
        InputsPanel *inputs = m_window->inputs();
        QComboBox *presets = inputs->limitPresets();
        QVERIFY(presets->itemData(0, Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("Bouwbesluit 2012, art. 7.7")));
        presets->setCurrentIndex(2);
        emit presets->activated(2);
        QCOMPARE(inputs->edit(Field::Limit)->text(), QStringLiteral("10"));
        QCOMPARE(inputs->input().limitKw, 10.0);
        inputs->edit(Field::Limit)->clear();
        QTest::keyClicks(inputs->edit(Field::Limit), QStringLiteral("13"));
        QCOMPARE(presets->currentText(), QStringLiteral("eigen waarde"));
        QVERIFY(settle());
        QCOMPARE(m_window->exploration()->answers.distance.limit, 13000.0);
    }

    void theTableShowsTheLastViewAndCopies()
    {
        m_window->tabs()->setCurrentIndex(2);
        m_window->tabs()->setCurrentIndex(3);
        QCOMPARE(m_window->tableKind(), ViewKind::Plan);
        ViewTableView *table = m_window->tableView();
        QCOMPARE(table->model()->rowCount(), kResolution * kResolution);
        table->setFocus();
        table->selectionModel()->select(table->model()->index(1, 2), QItemSelectionModel::Select);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        const double level = m_window->exploration()->plan.grid.values[1];
        QCOMPARE(copied,
                 QStringLiteral("hoogste niveau (kW/m²)\n") + QLocale().toString(level, 'f', 3) + '\n');
    }

    // A low pile just under the flame law's diameter gets a flame below the ground.
    void aStorageWithoutFlameIsExplained()
    {
        m_window->inputs()->setValue(Field::Width, 8.7);
        m_window->inputs()->setValue(Field::Depth, 8.7);
        m_window->inputs()->setValue(Field::Height, 0.5);
        QVERIFY(settle());
        engine::CalculationInput flat;
        flat.B = 8.7;
        flat.D = 8.7;
        flat.H = 0.5;
        flat.y = 4.35;
        const engine::LimitCheck check = engine::CheckLimit(flat, 15, false);
        QVERIFY(!check.ok());
        QCOMPARE(m_window->answers()->stateText(), QString::fromStdString(check.message).replace('\n', ' '));
        QCOMPARE(m_window->answers()->distanceText(), QStringLiteral("–"));
        QVERIFY(m_window->answers()->verdictText().isEmpty());
        QVERIFY(m_window->exploration()->refusal.refused());
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
        QVERIFY(PlanValueAt(shown->plan, world.x(), world.y(), level));
        QCOMPARE(
            text,
            QStringLiteral("x = %1 m, y = %2 m: %3 kW/m²")
                .arg(Number(world.x(), QLocale()), Number(world.y(), QLocale()), Number(level, QLocale())));
        QVERIFY(std::abs(level - grid.value(5, 7)) < 0.05);
        QVERIFY(plan->hoverText(QPointF(1, 1)).isEmpty());
    }

    // Pictures of each tab for looking at, when a folder is given.
    void screenshots()
    {
        const QString folder = qEnvironmentVariable("WARMTEGLOED_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("WARMTEGLOED_SCREENSHOT_DIR not set");
        m_window->resize(1366, 768);
        m_window->inputs()->screen()->setChecked(true);
        m_window->inputs()->setValue(Field::ScreenHeight, 4);
        m_window->inputs()->setValue(Field::ScreenDistance, 2);
        QVERIFY(settle());
        for (int i = 0; i < 4; ++i) {
            m_window->tabs()->setCurrentIndex(i);
            QTest::qWait(50);
            QVERIFY(m_window->grab().save(QDir(folder).filePath(QStringLiteral("tab%1.png").arg(i))));
        }
    }
};

QTEST_MAIN(TestExploreWindow)
#include "tst_explore_window.moc"
