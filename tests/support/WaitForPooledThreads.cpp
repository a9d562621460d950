// Linked into every test program: a test's process ends only after Qt's
// pooled worker threads have finished their clean-up, so the leak checker
// sees the state the program leaves, not one caught half-way through a
// worker's exit.
#include "app/PooledThreads.h"

namespace {
const bool registered = (lmk::waitForPooledThreadsAtExit(), true);
} // namespace
