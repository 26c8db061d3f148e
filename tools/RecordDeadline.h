#pragma once

// The --interval and --duration of `amperotool record`, and the moment a
// recording of a given duration ends. A Qt timer takes at most 2^31 - 1
// milliseconds (24.8 days), so a long recording is waited for in steps, each
// step asking the clock how much is left.

#include "RecordPublishing.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// A duration: as ParseSecondsArgument, and above 0.
std::optional<double> ParseDurationArgument(const QString &text);

class RecordDeadline {
public:
    // Milliseconds of a monotonic clock; only differences count.
    using Clock = std::function<std::int64_t()>;

    // The longest single wait, well inside what a timer takes.
    static constexpr int LongestWaitMs = 60 * 60 * 1000;

    // Ends `durationSeconds` after now. A duration beyond the clock's range
    // (about 292 million years) never ends.
    RecordDeadline(double durationSeconds, Clock clock);

    bool reached() const;
    // How long to wait before asking again: the time left, at most LongestWaitMs; 0 once reached.
    int nextWaitMs() const;

private:
    Clock clock_;
    std::optional<std::int64_t> endMs_;
};
