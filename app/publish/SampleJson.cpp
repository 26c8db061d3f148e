#include "SampleJson.h"

#include "MeterFrame.h"
#include "NumberText.h"
#include "OleDate.h"
#include "SampleTexts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

const char OverloadText[] = "OL";

namespace {

void appendString(std::string &json, const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    json += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            json += "\\u00";
            json += hex[byte >> 4];
            json += hex[byte & 0x0F];
        } else {
            json += c;
        }
    }
    json += '"';
}

void appendNumber(std::string &json, float value)
{
    if (std::isfinite(value))
        json += ShortestFloatText(value);
    else
        json += "null";
}

void appendBool(std::string &json, bool value)
{
    json += value ? "true" : "false";
}

// ISO 8601 with the UTC offset that was in force at that local time.
std::string stampText(double stamp)
{
    const std::string local = OleDateIsoText(stamp);
    if (local.empty())
        return local;
    const int offset = OleDateToLocal(stamp).offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    char zone[8];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60 % 100, minutes % 60);
    return local + zone;
}

} // namespace

QByteArray SampleJson(std::int32_t index, const Sample &sample)
{
    std::string json;
    json.reserve(256);
    json += "{\"seq\":";
    json += std::to_string(index);
    json += ",\"time\":";
    const std::string time = stampText(sample.Stamp);
    if (time.empty())
        json += "null";
    else
        appendString(json, time);
    json += ",\"seconds\":";
    appendNumber(json, sample.Seconds);

    json += ",\"first\":{\"value\":";
    if (std::fabs(sample.FirstValue) == OverloadValue || std::isinf(sample.FirstValue))
        appendString(json, OverloadText);
    else
        appendNumber(json, sample.FirstValue);
    json += ",\"unit\":";
    appendString(json, FirstUnitName(sample.FirstUnit));

    json += "},\"second\":{\"value\":";
    appendNumber(json, sample.SecondValue);
    json += ",\"text\":";
    appendString(json, SecondValueText(sample.Mode, sample.SecondValue));
    json += ",\"unit\":";
    appendString(json, SecondUnitName(sample.SecondUnit));
    json += ",\"function\":";
    appendString(json, SecondFunctionText(sample.Mode));

    json += "},\"hold\":";
    appendBool(json, sample.Symbols & SymbolBits::Hold);
    json += ",\"mr\":";
    appendBool(json, sample.Mode & ModeBits::MemoryRecall);
    json += ",\"mem\":";
    appendBool(json, sample.Mode & ModeBits::MemoryStore);
    json += ",\"note\":";
    appendString(json, NoteText(sample.Symbols2));
    json += '}';
    return QByteArray::fromStdString(json);
}

QByteArray AlarmJson(const LimitEvent &event)
{
    const bool cleared =
        event.direction == AlarmDirection::BackBelowHigh || event.direction == AlarmDirection::BackAboveLow;
    std::string json;
    json += "{\"seq\":";
    json += std::to_string(event.index);
    json += ",\"time\":";
    const std::string time = stampText(event.stamp);
    if (time.empty())
        json += "null";
    else
        appendString(json, time);
    json += ",\"display\":";
    json += event.display == AlarmDisplay::First ? "1" : "2";
    json += ",\"kind\":";
    appendString(json, AlarmLimitName(event.limit));
    json += ",\"state\":";
    appendString(json, cleared ? "cleared" : "raised");
    json += ",\"limit\":";
    appendNumber(json, event.limitValue);
    json += ",\"value\":";
    appendNumber(json, event.value);
    json += ",\"unit\":";
    appendString(json, event.unit);
    json += '}';
    return QByteArray::fromStdString(json);
}

std::vector<RetainedMessage> HomeAssistantConfigs(const PublishSettings &settings, const Sample &sample)
{
    const QString base = settings.topicBase();
    const QString device = QStringLiteral("ampero_%1_%2").arg(settings.station, settings.meter);
    struct Display {
        const char *key;
        const char *name;
        std::string unit;
    };
    const Display displays[] = {
        {"first", "first display", FirstUnitName(sample.FirstUnit)},
        {"second", "second display", SecondUnitName(sample.SecondUnit)},
    };
    std::vector<RetainedMessage> configs;
    for (const Display &display : displays) {
        const QString unique = device + QLatin1Char('_') + QLatin1String(display.key);
        std::string json = "{\"name\":";
        appendString(json, display.name);
        json += ",\"unique_id\":";
        appendString(json, unique.toStdString());
        json += ",\"object_id\":";
        appendString(json, unique.toStdString());
        json += ",\"state_topic\":";
        appendString(json, (base + QLatin1String("/last")).toStdString());
        // "OL" and null leave the sensor without a value instead of breaking its history.
        json += ",\"value_template\":";
        appendString(json, std::string("{{ value_json.") + display.key + ".value if value_json." + display.key +
                               ".value is number else none }}");
        if (!display.unit.empty()) {
            json += ",\"unit_of_measurement\":";
            appendString(json, display.unit);
        }
        json += ",\"state_class\":\"measurement\"";
        json += ",\"availability_topic\":";
        appendString(json, (base + QLatin1String("/status")).toStdString());
        json += ",\"payload_available\":\"online\",\"payload_not_available\":\"offline\"";
        json += ",\"device\":{\"identifiers\":[";
        appendString(json, device.toStdString());
        json += "],\"name\":";
        appendString(json, QStringLiteral("Ampero %1 on %2").arg(settings.meter, settings.station).toStdString());
        json += ",\"model\":\"clamp-on power meter\"}}";
        configs.push_back(
            {QStringLiteral("homeassistant/sensor/%1/config").arg(unique), QByteArray::fromStdString(json)});
    }
    return configs;
}
