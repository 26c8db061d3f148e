#pragma once

// Waiting in tests: on a condition, with a deadline generous enough for a busy
// machine, while the event loop runs.

#include <functional>

// Runs the event loop until the condition holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()> &condition, int timeoutMs);

// Runs the event loop for the given time. Only where time itself is what a
// test is about: a timer that must not yet have run out, or a stretch in which
// nothing may happen.
void RunEventsFor(int milliseconds);
