#include "LimitAlarm.h"

#include "NumberText.h"
#include "OleDate.h"
#include "SampleTexts.h"

LimitAlarm::LimitAlarm(const LimitSettings &settings) : settings_(settings) {}

std::vector<LimitEvent> LimitAlarm::sampleAppended(const Sample &sample, std::int32_t index)
{
    std::vector<LimitEvent> events;
    check(AlarmDisplay::First, settings_.first, first_, sample.FirstValue, FirstUnitName(sample.FirstUnit), sample,
          index, events);
    check(AlarmDisplay::Second, settings_.second, second_, sample.SecondValue, SecondUnitName(sample.SecondUnit),
          sample, index, events);
    return events;
}

void LimitAlarm::check(AlarmDisplay display, const DisplayLimits &limits, Tripped &tripped, float value,
                       const std::string &unit, const Sample &sample, std::int32_t index,
                       std::vector<LimitEvent> &events)
{
    auto raise = [&](AlarmLimit limit, AlarmDirection direction, float limitValue) {
        events.push_back(LimitEvent{display, limit, direction, value, limitValue, unit, sample.Stamp, index});
    };
    // In double: a limit minus the hysteresis must not round onto the limit.
    const double v = value;
    const double h = settings_.hysteresis;
    if (limits.high) {
        const double high = *limits.high;
        if (!tripped.high && v > high) {
            tripped.high = true;
            raise(AlarmLimit::High, AlarmDirection::AboveHigh, *limits.high);
        } else if (tripped.high && v < high - h) {
            tripped.high = false;
            raise(AlarmLimit::High, AlarmDirection::BackBelowHigh, *limits.high);
        }
    }
    if (limits.low) {
        const double low = *limits.low;
        if (!tripped.low && v < low) {
            tripped.low = true;
            raise(AlarmLimit::Low, AlarmDirection::BelowLow, *limits.low);
        } else if (tripped.low && v > low + h) {
            tripped.low = false;
            raise(AlarmLimit::Low, AlarmDirection::BackAboveLow, *limits.low);
        }
    }
}

const char *AlarmDisplayName(AlarmDisplay display)
{
    return display == AlarmDisplay::First ? "first" : "second";
}

const char *AlarmLimitName(AlarmLimit limit)
{
    return limit == AlarmLimit::High ? "high" : "low";
}

const char *AlarmDirectionName(AlarmDirection direction)
{
    switch (direction) {
    case AlarmDirection::AboveHigh:
        return "above-high";
    case AlarmDirection::BackBelowHigh:
        return "back-below-high";
    case AlarmDirection::BelowLow:
        return "below-low";
    case AlarmDirection::BackAboveLow:
        return "back-above-low";
    }
    return "";
}

std::vector<std::pair<std::string, std::string>> LimitEventFields(const LimitEvent &event)
{
    return {
        {"DISPLAY", AlarmDisplayName(event.display)},
        {"LIMIT", AlarmLimitName(event.limit)},
        {"DIRECTION", AlarmDirectionName(event.direction)},
        {"VALUE", ShortestFloatText(event.value)},
        {"THRESHOLD", ShortestFloatText(event.limitValue)},
        {"UNIT", event.unit},
        {"TIME", OleDateIsoText(event.stamp)},
        {"INDEX", std::to_string(event.index)},
    };
}

std::string LimitEventText(const LimitEvent &event)
{
    const bool high = event.limit == AlarmLimit::High;
    const bool back =
        event.direction == AlarmDirection::BackBelowHigh || event.direction == AlarmDirection::BackAboveLow;
    std::string crossing = back ? (high ? "back below high limit " : "back above low limit ")
                                : (high ? "above high limit " : "below low limit ");
    const std::string unit = event.unit.empty() ? std::string() : " " + event.unit;
    return std::string(AlarmDisplayName(event.display)) + " display " + crossing + ShortestFloatText(event.limitValue) +
           unit + ": " + ShortestFloatText(event.value) + unit + " at " + OleDateIsoText(event.stamp) + ", sample " +
           std::to_string(event.index);
}
