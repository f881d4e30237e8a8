#include "exploration_runner.h"

#include <QMetaObject>

namespace explore {
namespace {

// Long enough to take the changes of one action (a preset, a wheel turn) together, short
// enough not to be felt.
constexpr int kCoalescingMs = 10;
constexpr int kDistanceSamples = 241;
constexpr int kHeightSamples = 201;

} // namespace

void ComputeExploration(const ExplorationInput &input, int planResolution,
                        const std::function<bool()> &outdated, const StageSender &send)
{
    auto state = std::make_shared<Exploration>();
    state->input = input;
    if (!outdated()) {
        state->answers = ComputeAnswers(input, state->refusal);
        state->hasAnswers = !state->refusal.refused();
    }
    if (!outdated() && !state->refusal.refused()) {
        state->distance = ComputeDistanceProfile(input, LastDistance(input, state->answers), kDistanceSamples,
                                                 state->refusal);
    }
    if (!outdated() && !state->refusal.refused())
        state->height = ComputeHeightProfile(input, kHeightSamples, state->refusal);
    state->extent = PlanExtentFor(input, state->answers);
    if (outdated() || state->refusal.refused()) {
        send(outdated() ? nullptr : state, true);
        return;
    }
    send(std::make_shared<Exploration>(*state), false);
    // The picture first, for the eye, then the exact levels, for the numbers.
    for (PlanPrecision precision : {PlanPrecision::Picture, PlanPrecision::Exact}) {
        PlanMap map =
            ComputePlanMap(input, state->extent, planResolution, state->refusal, outdated, 0, precision);
        if (outdated())
            break;
        state->plan = std::move(map);
        state->planFinal = precision == PlanPrecision::Exact;
        const bool last = state->planFinal || state->refusal.refused();
        send(std::make_shared<Exploration>(*state), last);
        if (last)
            return;
    }
    send(nullptr, true);
}

ExplorationRunner::ExplorationRunner(QObject *parent, ExplorationWork work)
    : QObject(parent)
    , m_work(std::move(work))
    , m_generation(std::make_shared<std::atomic<quint64>>(0))
{
    qRegisterMetaType<std::shared_ptr<const explore::Exploration>>();
    // One job at a time: an outdated job leaves the pool at its next block, and the
    // engine spreads each block over the cores itself.
    m_pool.setMaxThreadCount(1);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kCoalescingMs);
    connect(&m_delay, &QTimer::timeout, this, &ExplorationRunner::start);
}

ExplorationRunner::~ExplorationRunner()
{
    ++*m_generation;
    m_pool.clear();
    m_pool.waitForDone();
}

void ExplorationRunner::request(const ExplorationInput &input)
{
    m_pending = input;
    ++*m_generation;
    m_delay.start();
}

// On the owner's thread, where requests are made too: a stage whose generation is not
// the newest request's is dropped here, however late it arrives.
void ExplorationRunner::publish(quint64 generation, std::shared_ptr<const Exploration> exploration, bool last)
{
    if (last)
        --m_running;
    if (generation != m_generation->load())
        return;
    if (exploration)
        emit updated(exploration);
    if (last)
        emit finished();
}

void ExplorationRunner::start()
{
    const quint64 generation = m_generation->load();
    const ExplorationInput input = m_pending;
    const int resolution = m_planResolution;
    const std::shared_ptr<std::atomic<quint64>> current = m_generation;
    ++m_running;
    m_pool.start([this, generation, input, resolution, current, work = m_work] {
        const auto outdated = [current, generation] { return current->load() != generation; };
        const auto send = [this, generation](std::shared_ptr<const Exploration> exploration, bool last) {
            QMetaObject::invokeMethod(
                this, [this, generation, exploration, last] { publish(generation, exploration, last); },
                Qt::QueuedConnection);
        };
        work(input, resolution, outdated, send);
    });
}

} // namespace explore
