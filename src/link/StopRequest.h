#pragma once
// A request to stop whatever runs, raised from a signal handler (SIGINT,
// SIGTERM, SIGHUP) or from a closed output. Raising it only sets a
// lock-free flag, so it is safe inside a signal handler; every wait for the
// receiver reads it and ends the running exchange as Aborted.
//
//   requestStop(SIGTERM);   // in the handler
//   stopRequested()  -> true, stopSignal() -> SIGTERM (15)
//   clearStopRequest();     // before the next run

namespace lmk {

// Async-signal-safe. The first signal wins; later ones keep it.
void requestStop(int sig);
bool stopRequested();
// The signal of the request (0 when none).
int stopSignal();
void clearStopRequest();

} // namespace lmk
