#include "RecordDeadline.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// 31 million years: no recording lasts that long, and the sum with the
// clock's reading stays far inside 64 bits.
constexpr double EndlessMs = 1e18;

} // namespace

std::optional<double> ParseDurationArgument(const QString &text)
{
    const std::optional<double> seconds = ParseSecondsArgument(text);
    if (!seconds || *seconds <= 0)
        return std::nullopt;
    return seconds;
}

RecordDeadline::RecordDeadline(double durationSeconds, Clock clock) : clock_(std::move(clock))
{
    const double durationMs = std::round(durationSeconds * 1000);
    if (durationMs < EndlessMs)
        endMs_ = clock_() + std::int64_t(durationMs);
}

bool RecordDeadline::reached() const
{
    return endMs_ && clock_() >= *endMs_;
}

int RecordDeadline::nextWaitMs() const
{
    if (!endMs_)
        return LongestWaitMs;
    const std::int64_t left = *endMs_ - clock_();
    return int(std::clamp<std::int64_t>(left, 0, LongestWaitMs));
}
