#pragma once

#include "exploration.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>

namespace explore {

// Recomputes the exploration off the user-interface thread. Rapid changes are
// coalesced by a short timer; every start bumps a generation counter, and work of an
// older generation stops at its next block and publishes nothing. Results arrive in
// stages (answers and profiles, the plan as a picture, its exact levels) on the owner's
// thread.
class ExplorationRunner : public QObject
{
    Q_OBJECT

public:
    explicit ExplorationRunner(QObject *parent = nullptr);
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

    QTimer m_delay;
    QThreadPool m_pool;
    ExplorationInput m_pending;
    std::shared_ptr<std::atomic<quint64>> m_generation;
    int m_planResolution = 200;
    int m_running = 0;
};

} // namespace explore
