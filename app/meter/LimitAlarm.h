#pragma once

// Limit alarms on the two displays: a high and a low limit for each, fed one
// sample at a time. Crossing a limit is an event; a limit that fired is armed
// again only once the value has come back past it by the hysteresis, so noise
// around a limit raises one event, not a stream of them.
//
// For whoever passes the events on (standard error, --on-alarm, MQTT, the
// window): LimitEvent carries everything about one crossing, and
// LimitEventFields gives it as fixed names and machine texts (C locale, ISO
// 8601 time), the same wherever it is published.

#include "Sample.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class AlarmDisplay { First, Second };
enum class AlarmLimit { High, Low };
enum class AlarmDirection {
    AboveHigh,     // the value went above the high limit
    BackBelowHigh, // ... and came back below it by the hysteresis
    BelowLow,      // the value went below the low limit
    BackAboveLow,  // ... and came back above it by the hysteresis
};

struct LimitEvent {
    AlarmDisplay display = AlarmDisplay::First;
    AlarmLimit limit = AlarmLimit::High;
    AlarmDirection direction = AlarmDirection::AboveHigh;
    float value = 0;        // the display's value in the sample
    float limitValue = 0;   // the limit that was crossed
    std::string unit;       // unit text of the display in the sample ("A", "kW", ...)
    double stamp = 0;       // the sample's time stamp (OLE date, local time)
    std::int32_t index = 0; // the sample's index in its recording
};

struct DisplayLimits {
    std::optional<float> high;
    std::optional<float> low;
};

struct LimitSettings {
    DisplayLimits first;
    DisplayLimits second;
    float hysteresis = 0; // absolute, in the display's unit; 0 or more

    bool any() const { return first.high || first.low || second.high || second.low; }
};

class LimitAlarm {
public:
    explicit LimitAlarm(const LimitSettings &settings);

    // The events the sample at `index` raises, first display before second,
    // high limit before low. Rules: above-high when value > high; back below
    // when value < high - hysteresis; below-low when value < low; back above
    // when value > low + hysteresis. Every limit starts armed, so a recording
    // that starts beyond a limit raises its event with the first sample.
    std::vector<LimitEvent> sampleAppended(const Sample &sample, std::int32_t index);

private:
    struct Tripped {
        bool high = false;
        bool low = false;
    };
    void check(AlarmDisplay display, const DisplayLimits &limits, Tripped &tripped, float value,
               const std::string &unit, const Sample &sample, std::int32_t index, std::vector<LimitEvent> &events);

    LimitSettings settings_;
    Tripped first_;
    Tripped second_;
};

// "first"/"second", "high"/"low", "above-high", "back-below-high", "below-low", "back-above-low".
const char *AlarmDisplayName(AlarmDisplay display);
const char *AlarmLimitName(AlarmLimit limit);
const char *AlarmDirectionName(AlarmDirection direction);

// The event as name/value pairs: DISPLAY, LIMIT, DIRECTION, VALUE, THRESHOLD,
// UNIT, TIME, INDEX (the --on-alarm command gets them as AMPERO_ALARM_NAME).
std::vector<std::pair<std::string, std::string>> LimitEventFields(const LimitEvent &event);

// One line for a person: "first display above high limit 500 A: 509.9 A at
// 2026-12-07T10:37:00.000, sample 52".
std::string LimitEventText(const LimitEvent &event);
