#include "SettingRanges.h"

#include <cmath>

namespace {

bool within(double value, const SettingRange &range)
{
    const bool aboveLowest = range.lowestIncluded ? value >= range.lowest : value > range.lowest;
    const bool belowHighest = range.highestIncluded ? value <= range.highest : value < range.highest;
    return aboveLowest && belowHighest;
}

} // namespace

bool SettingRange::contains(double value) const
{
    return within(value, *this) && within(double(float(value)), *this);
}

float SettingRange::nearest(float value) const
{
    if (contains(double(value)))
        return value;
    if (double(value) <= lowest)
        return float(lowestIncluded ? lowest : std::floor(lowest) + 1);
    return float(highestIncluded ? highest : std::ceil(highest) - 1);
}
