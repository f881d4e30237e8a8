#include "write_signals.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kInterruptCount = int(sizeof kInterrupts / sizeof kInterrupts[0]);

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

// Read by the handler, on whichever thread the signal arrives.
std::atomic<bool> g_held {false};
std::atomic<bool> g_armed {false};
std::atomic<int> g_waiting {0}; // a signal that arrived while held
int g_tempFolder = -1;
char g_tempName[NAME_MAX + 1];
struct sigaction g_previous[kInterruptCount];
std::atomic<bool> g_installed[kInterruptCount];
struct sigaction g_previousSizeLimit;

void restore(int signal)
{
    for (int i = 0; i < kInterruptCount; ++i) {
        if (kInterrupts[i] == signal && g_installed[i].exchange(false))
            ::sigaction(signal, &g_previous[i], nullptr);
    }
}

// Removes the temporary file, puts the program's own disposition back and raises the
// signal again, so that the program ends (or handles it) as it would have without us.
void deliver(int signal)
{
    if (g_armed.exchange(false))
        ::unlinkat(g_tempFolder, g_tempName, 0);
    restore(signal);
    ::raise(signal);
}

void onInterrupt(int signal)
{
    const int savedErrno = errno;
    g_waiting.store(signal);
    // Whoever takes the waiting signal delivers it: this handler, or release() once the
    // step that holds it is done.
    if (!g_held.load()) {
        const int due = g_waiting.exchange(0);
        if (due)
            deliver(due);
    }
    errno = savedErrno;
}

} // namespace

WriteSignals::WriteSignals()
{
    g_held = false;
    g_armed = false;
    g_waiting = 0;
    struct sigaction action
    { };
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kInterruptCount; ++i) {
        ::sigaction(kInterrupts[i], nullptr, &g_previous[i]);
        // A signal the program ignores (nohup) stays ignored.
        if (g_previous[i].sa_handler == SIG_IGN)
            continue;
        g_installed[i] = ::sigaction(kInterrupts[i], &action, nullptr) == 0;
    }
    struct sigaction ignore
    { };
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &g_previousSizeLimit);
}

WriteSignals::~WriteSignals()
{
    ::sigaction(SIGXFSZ, &g_previousSizeLimit, nullptr);
    for (int signal : kInterrupts)
        restore(signal);
    g_held = false;
    const int due = g_waiting.exchange(0);
    if (due) {
        if (g_armed.exchange(false))
            ::unlinkat(g_tempFolder, g_tempName, 0);
        ::raise(due);
    }
    g_armed = false;
}

void WriteSignals::hold()
{
    g_held = true;
}

void WriteSignals::release()
{
    g_held = false;
    const int due = g_waiting.exchange(0);
    if (due)
        deliver(due);
}

void WriteSignals::arm(int folder, const char *name)
{
    g_tempFolder = folder;
    std::strncpy(g_tempName, name, NAME_MAX);
    g_tempName[NAME_MAX] = '\0';
    g_armed = true;
}

void WriteSignals::disarm()
{
    g_armed = false;
}

} // namespace platform
