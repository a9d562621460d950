#include "app/PooledThreads.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

namespace lmk {

namespace {

// Qt names its pool workers so; the kernel keeps the first 15 characters.
constexpr const char *kPooledThreadName = "Thread (pooled)";

int pooledThreadCount() {
#ifdef __linux__
    int count = 0;
    std::error_code ec;
    for (const auto &task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (comm && std::getline(comm, name) && name == kPooledThreadName)
            ++count;
    }
    return count;
#else
    return 0;
#endif
}

void waitAtExit() { waitForPooledThreadsToEnd(500); }

} // namespace

bool waitForPooledThreadsToEnd(int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (pooledThreadCount() > 0) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void waitForPooledThreadsAtExit() {
    static std::atomic_bool registered{false};
    if (!registered.exchange(true))
        std::atexit(waitAtExit);
}

} // namespace lmk
