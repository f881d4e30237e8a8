#include "situatie_runner.h"

#include <QMetaObject>

namespace explore {
namespace {

// Mouse moves come every few milliseconds while a storage is dragged: the newest wins.
constexpr int kCoalescingMs = 10;

} // namespace

SituatieRunner::SituatieRunner(QObject *parent, SituatieWork work)
    : QObject(parent)
    , m_work(std::move(work))
    , m_generation(std::make_shared<std::atomic<quint64>>(0))
{
    qRegisterMetaType<std::shared_ptr<const explore::SituatieResult>>();
    // One job at a time: the engine spreads each map over the cores itself.
    m_pool.setMaxThreadCount(1);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kCoalescingMs);
    connect(&m_delay, &QTimer::timeout, this, &SituatieRunner::start);
}

SituatieRunner::~SituatieRunner()
{
    ++*m_generation;
    m_pool.clear();
    m_pool.waitForDone();
}

void SituatieRunner::request(const engine::Site &site)
{
    m_pending = site;
    ++*m_generation;
    m_delay.start();
}

void SituatieRunner::cancel()
{
    ++*m_generation;
    m_delay.stop();
}

void SituatieRunner::publish(quint64 generation, std::shared_ptr<const SituatieResult> result, bool last)
{
    if (last)
        --m_running;
    if (generation != m_generation->load())
        return;
    if (result)
        emit updated(result);
    if (last)
        emit finished();
}

void SituatieRunner::start()
{
    const quint64 generation = m_generation->load();
    const std::shared_ptr<std::atomic<quint64>> current = m_generation;
    ++m_running;
    m_pool.start([this, generation, site = m_pending, current, work = m_work] {
        const auto outdated = [current, generation] { return current->load() != generation; };
        const auto send = [this, generation](std::shared_ptr<const SituatieResult> result, bool last) {
            QMetaObject::invokeMethod(
                this, [this, generation, result, last] { publish(generation, result, last); },
                Qt::QueuedConnection);
        };
        work(site, outdated, send);
    });
}

} // namespace explore
