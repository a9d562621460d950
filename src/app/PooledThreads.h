#pragma once
// Qt draws large fills and converts large images on worker threads of its
// own pools. Those pools are deleted with the application object, but the
// deletion only waits until each worker has finished its loop: the thread
// itself may still be running its thread-local clean-up (which frees the
// thread's Qt bookkeeping) when main() returns. A process that ends right
// then leaves that clean-up undone, and the leak checker rightly reports it.

namespace lmk {

// Waits, at most limitMs milliseconds, until no pooled Qt worker thread of
// this process is left; returns whether none is left.
bool waitForPooledThreadsToEnd(int limitMs);

// Makes the process wait for them (up to half a second) after main() has
// returned, before it ends. Once per process is enough; repeats are ignored.
void waitForPooledThreadsAtExit();

} // namespace lmk
