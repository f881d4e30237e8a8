// The exploration window's runner publishes only the newest request's work: a stage of an
// older request that arrives after a newer request, however it got there, never reaches
// `updated`, and the newer request's stages all do.

#include "exploration_runner.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

using namespace explore;

namespace {

ExplorationInput atDistance(double x)
{
    ExplorationInput input;
    input.storage.x = x;
    return input;
}

std::vector<double> distancesOf(const QSignalSpy &spy)
{
    std::vector<double> distances;
    for (const QList<QVariant> &arguments : spy)
        distances.push_back(arguments.front().value<std::shared_ptr<const Exploration>>()->input.storage.x);
    return distances;
}

} // namespace

class TestExplorationRunner : public QObject
{
    Q_OBJECT

private slots:
    // The older work is held until the newer request is made, and then hands over its
    // stages regardless of being outdated, as work does that finishes just after it last
    // asked: the runner drops them.
    void lateStaleWorkIsDropped_data()
    {
        QTest::addColumn<int>("staleStages");
        QTest::newRow("last stage only") << 1;
        QTest::newRow("three stages") << 3;
    }
    void lateStaleWorkIsDropped()
    {
        QFETCH(int, staleStages);
        QSemaphore started;
        QSemaphore release;
        const ExplorationWork work = [&](const ExplorationInput &input, int, const std::function<bool()> &,
                                         const StageSender &send) {
            auto stage = std::make_shared<Exploration>();
            stage->input = input;
            const bool older = input.storage.x == 5;
            if (older) {
                started.release();
                release.acquire();
            }
            const int stages = older ? staleStages : 2;
            for (int i = 1; i <= stages; ++i)
                send(stage, i == stages);
        };
        ExplorationRunner runner(nullptr, work);
        QSignalSpy updated(&runner, &ExplorationRunner::updated);
        QSignalSpy finished(&runner, &ExplorationRunner::finished);
        runner.request(atDistance(5));
        QTRY_COMPARE(started.available(), 1);
        runner.request(atDistance(6));
        release.release();
        QTRY_VERIFY(!runner.busy());
        QCOMPARE(distancesOf(updated), std::vector<double>({6, 6}));
        QCOMPARE(finished.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestExplorationRunner)
#include "tst_exploration_runner.moc"
