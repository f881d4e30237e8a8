// The Situatie's numbers against the site engine's: the exact map node by node, the check
// in the panel's tables, the level under the mouse, the limit's contour where the solver
// puts the limit; the stages of the computation and the runner that drops outdated work;
// the document's edits, refusals and their undo.

#include "case_document.h"
#include "situatie_fixture.h"
#include "situatie_panel.h"
#include "situatie_texts.h"
#include "view_painter.h"

#include "site_check.h"

#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <cmath>
#include <functional>

using namespace explore;
using namespace situatie_test;

using Edit = std::function<void(SituatieState &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

std::vector<std::shared_ptr<const SituatieResult>> stagesOf(
    const engine::Site &site, const std::function<bool()> &outdated = [] { return false; })
{
    std::vector<std::shared_ptr<const SituatieResult>> stages;
    ComputeSituatie(site, outdated, [&](std::shared_ptr<const SituatieResult> stage, bool) {
        if (stage)
            stages.push_back(stage);
    });
    return stages;
}

} // namespace

class TestSituatie : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void theExactMapIsTheEnginesLevelAtEveryNode()
    {
        const engine::Site site = yard();
        const engine::SiteGrid grid = SituatieGrid(SituatieExtent(site), 40);
        SituatieMap map;
        QString refusal;
        QVERIFY(ComputeSituatieMap(site, grid, SituatiePrecision::Exact, map, refusal));
        int inside = 0;
        for (std::size_t j = 0; j < grid.y.size(); ++j) {
            for (std::size_t i = 0; i < grid.x.size(); ++i) {
                const engine::SiteLevel level = engine::SiteLevelAt(site, {grid.x[i], grid.y[j]});
                const double shown = map.levels.value(int(i), int(j));
                if (level.inside) {
                    QVERIFY(std::isnan(shown));
                    ++inside;
                } else {
                    QCOMPARE(shown, level.level / 1000);
                }
            }
        }
        QVERIFY(inside > 0);
    }

    void theGridCoversTheSiteInRoundSteps()
    {
        const engine::Site site = yard();
        const QRectF extent = SituatieExtent(site);
        const engine::SiteGrid grid = SituatieGrid(extent, kFullNodes);
        QVERIFY(grid.x.front() <= extent.left());
        QVERIFY(grid.x.back() >= extent.right());
        QVERIFY(grid.y.front() <= extent.top());
        QVERIFY(grid.y.back() >= extent.bottom());
        QVERIFY(int(std::max(grid.x.size(), grid.y.size())) <= kFullNodes + 1);
        const double step = grid.x[1] - grid.x[0];
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        QVERIFY2(mantissa == 1 || mantissa == 2 || mantissa == 2.5 || mantissa == 5,
                 qPrintable(QString::number(step)));
        // Room for the lowest contour level in front of every storage.
        const double reach = engine::Solve(engine::FaceInput(site, site.storages[0], 1, {1, 5}),
                                           engine::SolveQuantity::Distance, 5, false)
                                 .value;
        QVERIFY(extent.top() <= 20 - reach);
    }

    void thePanelShowsTheEnginesCheck()
    {
        SituatieTab tab;
        tab.model()->reset(yardState());
        QVERIFY(tab.waitUntilComputed(120000));
        const engine::Site site = yard();
        const engine::SiteCheck check = engine::CheckSite(site);
        const QLocale locale;
        QTableWidget *faces = tab.panel()->facesTable();
        QCOMPARE(faces->rowCount(), 12);
        for (int row = 0; row < faces->rowCount(); ++row) {
            const engine::FaceDistance &face = check.faces[std::size_t(row)];
            QCOMPARE(faces->item(row, 0)->text(),
                     QString::fromStdString(site.storages[std::size_t(face.storage)].name));
            QCOMPARE(faces->item(row, 1)->text(), QString::number(face.face));
            QCOMPARE(faces->item(row, 2)->text(), Number(face.required, locale) + QStringLiteral(" m"));
            QCOMPARE(faces->item(row, 3)->text(), Number(face.available, locale) + QStringLiteral(" m"));
            QCOMPARE(faces->item(row, 4)->text(), VerdictWord(face.complies));
        }
        QTableWidget *receivers = tab.panel()->receiversTable();
        QCOMPARE(receivers->rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            const engine::SiteHighest &highest = check.receivers[std::size_t(row)].highest;
            QCOMPARE(receivers->item(row, 3)->text(),
                     Number(highest.level / 1000, locale) + QStringLiteral(" kW/m²"));
            QCOMPARE(receivers->item(row, 4)->text(),
                     QString::fromStdString(engine::FaceLabel(site, highest.storage, highest.face)));
        }
        const SituatieResult &shown = *tab.snapshot().result;
        QCOMPARE(shown.check.boundary.level, check.boundary.level);
        QCOMPARE(shown.check.boundary.at.x, check.boundary.at.x);
        QCOMPARE(shown.check.boundary.at.y, check.boundary.at.y);
    }

    void theLevelUnderTheMouseIsTheEngines_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("says");
        QTest::newRow("south of A") << 25.0 << 12.0 << QString();
        QTest::newRow("inside B") << 68.0 << 30.0 << QStringLiteral("binnen B");
    }
    void theLevelUnderTheMouseIsTheEngines()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QString, says);
        const engine::Site site = yard();
        const QString text = LevelUnderCursor(site, {x, y}, QLocale());
        const engine::SiteLevel level = engine::SiteLevelAt(site, {x, y});
        if (says.isEmpty()) {
            QVERIFY2(text.contains(Number(level.level / 1000, QLocale()) + QStringLiteral(" kW/m²")),
                     qPrintable(text));
            QVERIFY(text.contains(FaceName(site, level.governing.storage, level.governing.face)));
        } else {
            QVERIFY2(text.endsWith(says), qPrintable(text));
        }
    }

    // South of storage A, alone there, the limit's line crosses where the distance solver
    // puts the limit for face 1, to within one step of the grid.
    void theLimitsContourLiesAtTheRequiredDistance()
    {
        const engine::Site site = yard();
        const auto stages = stagesOf(site);
        const SituatieResult &last = *stages.back();
        QVERIFY(last.final);
        QCOMPARE(last.map.precision, SituatiePrecision::Exact);
        const double required = last.check.faces[0].required;
        const SituatieContour *limit = nullptr;
        for (const SituatieContour &contour : last.map.contours)
            limit = contour.limit ? &contour : limit;
        QVERIFY(limit);
        QCOMPARE(limit->levelKw, 15.0);
        double nearest = 1e9;
        for (const engine::ContourLine &line : limit->lines) {
            for (const engine::ContourPoint &p : line.points) {
                if (std::abs(p.x - 25) < 0.3 && p.y < 20)
                    nearest = std::min(nearest, std::abs((20 - p.y) - required));
            }
        }
        QVERIFY2(nearest <= last.map.levels.dx, qPrintable(QString::number(nearest)));
    }

    void stagesComeCoarseThenCheckedThenExact()
    {
        const auto stages = stagesOf(yard());
        QCOMPARE(stages.size(), std::size_t(4));
        QCOMPARE(stages[0]->map.precision, SituatiePrecision::Coarse);
        QVERIFY(!stages[0]->hasCheck);
        QVERIFY(stages[1]->hasCheck);
        QCOMPARE(stages[1]->boundary.size(), std::size_t(1));
        QCOMPARE(stages[2]->map.precision, SituatiePrecision::Picture);
        QCOMPARE(stages[3]->map.precision, SituatiePrecision::Exact);
        QVERIFY(stages[3]->final);
        QVERIFY(stages[0]->map.levels.nx < stages[3]->map.levels.nx);
    }

    void outdatedWorkStopsAndSendsNothingMore()
    {
        int asked = 0;
        // Outdated once the coarse map is done.
        const auto stages = stagesOf(yard(), [&asked] { return ++asked > 3; });
        QVERIFY(stages.size() <= 1);
    }

    void aRefusedSiteSaysWhy()
    {
        engine::Site site = yard();
        // The flame of a low pile this wide lies below the ground.
        site.storages[0].width = 8.7;
        site.storages[0].depth = 8.7;
        site.storages[0].height = 0.5;
        const auto stages = stagesOf(site);
        QCOMPARE(stages.size(), std::size_t(1));
        QVERIFY(stages[0]->final);
        QVERIFY2(stages[0]->refusal.startsWith(QStringLiteral("A, zijde")), qPrintable(stages[0]->refusal));
    }

    void aNewerRequestDropsTheOlder()
    {
        SituatieRunner runner;
        std::vector<std::shared_ptr<const SituatieResult>> published;
        connect(&runner, &SituatieRunner::updated, this,
                [&](std::shared_ptr<const SituatieResult> result) { published.push_back(result); });
        engine::Site older = yard();
        older.storages[0].corner.x = 0;
        runner.request(older);
        QTest::qWait(30);
        const engine::Site newer = yard();
        runner.request(newer);
        QTRY_VERIFY_WITH_TIMEOUT(!runner.busy(), 120000);
        QVERIFY(!published.empty());
        for (const auto &result : published) {
            if (SameSite(result->site, older))
                QVERIFY(published.back() != result);
        }
        QVERIFY(SameSite(published.back()->site, newer));
        QVERIFY(published.back()->final);
    }

    void everyEditIsUndoneAndRedoneExactly_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("storage moved") << Edit([](SituatieState &s) {
            s.site.storages[1].corner = {70.25, 20};
        });
        QTest::newRow("storage turned") << Edit([](SituatieState &s) { s.site.storages[2].rotation = -15; });
        QTest::newRow("screen removed") << Edit([](SituatieState &s) { s.site.storages[1].screens.clear(); });
        QTest::newRow("receiver added") << Edit([](SituatieState &s) {
            s.site.receivers.push_back({"R", {0, 50}});
        });
        QTest::newRow("boundary removed") << Edit([](SituatieState &s) { s.site.boundary.clear(); });
        QTest::newRow("limit") << Edit([](SituatieState &s) { s.site.limit = 10; });
        QTest::newRow("underlay") << Edit([](SituatieState &s) {
            s.underlay.present = true;
            s.underlay.path = QStringLiteral("/tmp/terrein.png");
            s.underlay.placement.rotation = 12;
        });
    }
    void everyEditIsUndoneAndRedoneExactly()
    {
        QFETCH(Edit, edit);
        SituatieModel model;
        model.reset(yardState());
        SituatieState next = yardState();
        edit(next);
        QSignalSpy edited(&model, &SituatieModel::edited);
        QVERIFY(model.edit(QStringLiteral("Wijzigen"), next).isEmpty());
        QVERIFY(model.committed() == next);
        model.undoStack()->undo();
        QVERIFY(model.committed() == yardState());
        model.undoStack()->redo();
        QVERIFY(model.committed() == next);
        QCOMPARE(edited.count(), 3);
    }

    void anEditTheCaseCannotHoldIsRefused_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("says");
        QTest::newRow("same name") << Edit([](SituatieState &s) { s.site.storages[1].name = "A"; })
                                   << QStringLiteral("\"A\" komt al voor");
        QTest::newRow("one boundary point") << Edit([](SituatieState &s) { s.site.boundary[0].resize(1); })
                                            << QStringLiteral("minstens 2 punten");
        QTest::newRow("no storage") << Edit([](SituatieState &s) { s.site.storages.clear(); })
                                    << QStringLiteral("minstens één opslag");
    }
    void anEditTheCaseCannotHoldIsRefused()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, says);
        SituatieModel model;
        model.reset(yardState());
        SituatieState next = yardState();
        edit(next);
        const QString refusal = model.edit(QStringLiteral("Wijzigen"), next);
        QVERIFY2(refusal.contains(says), qPrintable(refusal));
        QVERIFY(model.committed() == yardState());
        QCOMPARE(model.undoStack()->count(), 0);
    }

    void aSlideOfTheOpacityIsOneUndoStep()
    {
        SituatieTab tab;
        SituatieState state = yardState();
        state.underlay.present = true;
        tab.model()->reset(state);
        QSlider *slider = tab.panel()->opacitySlider();
        slider->setSliderDown(true);
        for (int percent : {50, 40, 30})
            slider->setValue(percent);
        QCOMPARE(tab.model()->shown().underlay.opacity, 0.3);
        QCOMPARE(tab.model()->undoStack()->count(), 0);
        slider->setSliderDown(false);
        QCOMPARE(tab.model()->committed().underlay.opacity, 0.3);
        QCOMPARE(tab.model()->undoStack()->count(), 1);
        tab.model()->undoStack()->undo();
        QCOMPARE(tab.model()->committed().underlay.opacity, 0.6);
    }

    // In the window the case is the document: the Situatie's edits are its steps, its undo
    // restores the Situatie, and a storage removed takes the file's own keys of it along.
    void editsAreTheCaseDocuments()
    {
        CaseDocument document;
        const casefile::ReadResult read = casefile::ReadCase(
            R"({"format": "warmtegloed-case", "version": 1,
                "calculation": {"B": 10, "D": 10, "H": 8, "x": 5, "y": 5, "heights": [2.5, 5, 7.5, 10, 12.5]},
                "site": {"storages": [
                    {"name": "A", "corner": [20, 20], "width": 10, "depth": 10, "height": 8, "kleur": "rood"},
                    {"name": "B", "corner": [65, 25], "width": 10, "depth": 10, "height": 8, "kleur": "blauw"}]}})");
        QVERIFY2(read.ok, read.error.c_str());
        document.load(read.value, QString());
        SituatieTab tab;
        tab.useDocument(&document);
        QCOMPARE(tab.model()->committed().site.storages.size(), std::size_t(2));
        QCOMPARE(tab.model()->undoStack(), document.undoStack());

        SituatieState moved = tab.model()->committed();
        moved.site.storages[1].corner = {70, 30};
        QVERIFY(tab.model()->edit(QStringLiteral("Opslag verplaatsen"), moved).isEmpty());
        QCOMPARE(document.site().storages[1].corner.x, 70.0);
        QCOMPARE(document.undoStack()->undoText(), QStringLiteral("Opslag verplaatsen"));
        document.undoStack()->undo();
        QCOMPARE(tab.model()->committed().site.storages[1].corner.x, 65.0);

        QVERIFY(tab.model()->removeStorage(0, QStringLiteral("Opslag verwijderen")).isEmpty());
        QCOMPARE(tab.model()->committed().site.storages.size(), std::size_t(1));
        const std::string text = casefile::WriteCase(document.value());
        QVERIFY2(text.find("\"kleur\": \"blauw\"") != std::string::npos, text.c_str());
        QVERIFY(text.find("rood") == std::string::npos);
    }
};

QTEST_MAIN(TestSituatie)
#include "tst_situatie.moc"
