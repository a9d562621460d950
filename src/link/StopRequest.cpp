#include "link/StopRequest.h"

#include <atomic>

namespace lmk {

namespace {
// The signal number, 0 for none. Lock-free, so a handler may store it.
std::atomic<int> g_stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
} // namespace

void requestStop(int sig) {
    int none = 0;
    g_stopSignal.compare_exchange_strong(none, sig > 0 ? sig : -1);
}

bool stopRequested() { return g_stopSignal.load() != 0; }

int stopSignal() {
    const int sig = g_stopSignal.load();
    return sig > 0 ? sig : 0;
}

void clearStopRequest() { g_stopSignal.store(0); }

} // namespace lmk
