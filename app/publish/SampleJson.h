#pragma once

// The messages a sample becomes on the broker. Pure functions of their
// arguments, so that a sample sent again after an outage reads exactly as it
// did the first time.

#include "LimitAlarm.h"
#include "PublishSettings.h"
#include "Sample.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// The text in place of a value when the display showed overload.
extern const char OverloadText[];

// One sample as a JSON object:
//   {"seq":12,"time":"2026-06-07T10:37:00.250+02:00","seconds":812.5,
//    "first":{"value":12.35,"unit":"A"},
//    "second":{"value":230.1,"text":"230.1","unit":"V","function":""},
//    "hold":false,"mr":false,"mem":false,"note":"Ф1"}
// "seq" is the sample's index in the recording. A first value of ±9999 or
// infinite is the meter's overload and reads "OL"; any other value that is no
// finite number is null, as is a time stamp without a valid date.
QByteArray SampleJson(std::int32_t index, const Sample &sample);

// One limit event as a JSON object, for ".../alarm":
//   {"seq":52,"time":"2026-06-07T10:37:00.250+02:00","display":1,"kind":"high",
//    "state":"raised","limit":505,"value":509.9,"unit":"A"}
// "seq" is the index of the sample that raised it, "display" 1 or 2, "kind"
// "high" or "low", "state" "raised" when the value crossed the limit and
// "cleared" when it came back past it by the hysteresis.
QByteArray AlarmJson(const LimitEvent &event);

struct RetainedMessage {
    QString topic;
    QByteArray payload;
};

// Home Assistant discovery configs for the two displays, with the units of
// the given sample; the sensors read the retained ".../last" topic.
std::vector<RetainedMessage> HomeAssistantConfigs(const PublishSettings &settings, const Sample &sample);
