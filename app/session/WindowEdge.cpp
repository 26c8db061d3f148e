#include "WindowEdge.h"

#include <algorithm>
#include <cmath>

std::int32_t WindowEdge(const SampleStore &store, std::int32_t from, EdgeDirection direction, double width,
                        bool timeMode, WidthEnd widthEnd)
{
    const std::int32_t count = store.SampleCount;
    const bool forward = direction == EdgeDirection::Forward;
    const std::int32_t end = forward ? count : 1;
    if (from < 1 || from > count || std::size_t(from) >= store.Samples.size())
        return end;
    // A width that is no number has no sample beyond it.
    auto beyond = [&](double offset) { return widthEnd == WidthEnd::Included ? offset > width : offset >= width; };

    if (!timeMode) {
        if (std::isnan(width))
            return end;
        // Sample k steps away is inside while k is within the width.
        const double reach = std::max(widthEnd == WidthEnd::Included ? std::floor(width) : std::ceil(width) - 1, 0.0);
        const double room = forward ? double(count - from) : double(from - 1);
        const auto steps = std::int32_t(std::min(reach, room));
        return forward ? from + steps : from - steps;
    }

    // Elapsed seconds are taken in single precision, as the samples hold them.
    const float anchor = store.Samples[std::size_t(from)].Seconds;
    if (forward) {
        for (std::int32_t i = from + 1; i <= count; ++i)
            if (beyond(double(store.Samples[std::size_t(i)].Seconds - anchor)))
                return i - 1;
        return count;
    }
    for (std::int32_t i = from - 1; i >= 1; --i)
        if (beyond(double(anchor - store.Samples[std::size_t(i)].Seconds)))
            return i + 1;
    return 1;
}
