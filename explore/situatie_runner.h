#pragma once

#include "situatie_compute.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>

namespace explore {

using SituatieWork = std::function<void(const engine::Site &site, const std::function<bool()> &outdated,
                                        const SituatieSender &send)>;

// Recomputes the Situatie off the user-interface thread, as the exploration's runner does:
// changes within a few milliseconds are taken together, a newer request makes older work
// stop at its next block, and a stage of an older request is never published.
class SituatieRunner : public QObject
{
    Q_OBJECT

public:
    explicit SituatieRunner(QObject *parent = nullptr, SituatieWork work = ComputeSituatie);
    ~SituatieRunner() override;

    void request(const engine::Site &site);
    // Drops whatever is asked or running: a case without a site.
    void cancel();
    bool busy() const { return m_running > 0 || m_delay.isActive(); }

signals:
    void updated(std::shared_ptr<const explore::SituatieResult> result);
    void finished();

private:
    void start();
    void publish(quint64 generation, std::shared_ptr<const SituatieResult> result, bool last);

    SituatieWork m_work;
    QTimer m_delay;
    QThreadPool m_pool;
    engine::Site m_pending;
    std::shared_ptr<std::atomic<quint64>> m_generation;
    int m_running = 0;
};

} // namespace explore
