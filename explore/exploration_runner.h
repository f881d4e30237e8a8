#pragma once

#include "exploration.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

namespace explore {

// Hands one stage of an exploration to the window; `last` says that no stage follows.
using StageSender = std::function<void(std::shared_ptr<const Exploration> stage, bool last)>;

// The work behind one request, run off the user-interface thread: computes `input` in
// stages, hands each to `send` and stops early once `outdated` says yes. Whatever it
// hands over after that is dropped by the runner.
using ExplorationWork = std::function<void(const ExplorationInput &input, int planResolution,
                                           const std::function<bool()> &outdated, const StageSender &send)>;

// The window's work: the answers and the two profiles, then the plan as a picture, then
// its exact levels.
void ComputeExploration(const ExplorationInput &input, int planResolution,
                        const std::function<bool()> &outdated, const StageSender &send);

// Recomputes the exploration off the user-interface thread. Rapid changes are
// coalesced by a short timer; every request bumps a generation counter, work of an
// older generation stops at its next block, and a stage of an older generation that
// arrives all the same is never published. Results arrive in stages on the owner's thread.
class ExplorationRunner : public QObject
{
    Q_OBJECT

public:
    explicit ExplorationRunner(QObject *parent = nullptr, ExplorationWork work = ComputeExploration);
    ~ExplorationRunner() override;

    void setPlanResolution(int resolution) { m_planResolution = resolution; }
    // Schedules a recomputation for `input`; a newer request replaces it.
    void request(const ExplorationInput &input);
    bool busy() const { return m_running > 0 || m_delay.isActive(); }
    quint64 generation() const { return m_generation->load(); }

signals:
    void updated(std::shared_ptr<const explore::Exploration> exploration);
    void finished();

private:
    void start();
    void publish(quint64 generation, std::shared_ptr<const Exploration> exploration, bool last);

    ExplorationWork m_work;
    QTimer m_delay;
    QThreadPool m_pool;
    ExplorationInput m_pending;
    std::shared_ptr<std::atomic<quint64>> m_generation;
    int m_planResolution = 200;
    int m_running = 0;
};

} // namespace explore
