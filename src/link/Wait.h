#pragma once
// The one waiting primitive of the requester pattern: wait while a condition
// holds, processing events. It sleeps in the event loop until something
// happens (socket, timer, posted event, user input) and wakes at least every
// 50 ms, so it never spins and never leaves the window unserviced for longer.
// Waits nest: whatever ends a wait only changes state, and the condition is
// read again after every wake-up.

#include <functional>

namespace lmk {

constexpr int kWaitSliceMs = 50;

// Returns true when the condition became false, false when maxMs ran out
// first (maxMs < 0: no limit of its own) or a stop was requested
// (link/StopRequest.h).
bool waitWhile(const std::function<bool()> &condition, int maxMs = -1);

// Processes the events that are pending now, without blocking.
void processPendingEvents();

} // namespace lmk
