#include "AlarmOptions.h"

#include "UserNumber.h"

#include <QCoreApplication>

namespace {

QString limitText(const std::optional<float> &limit)
{
    return limit ? UserFloatText(*limit) : QString();
}

bool lowNotBelowHigh(const QString &high, const QString &low)
{
    const auto h = ParseUserNumber(high);
    const auto l = ParseUserNumber(low);
    return h && l && float(*l) >= float(*h);
}

} // namespace

AlarmOptionTexts CurrentAlarmOptions(const AlarmSettings &alarms)
{
    AlarmOptionTexts texts;
    texts.High1 = limitText(alarms.limits.first.high);
    texts.Low1 = limitText(alarms.limits.first.low);
    texts.High2 = limitText(alarms.limits.second.high);
    texts.Low2 = limitText(alarms.limits.second.low);
    texts.Hysteresis = UserFloatText(alarms.limits.hysteresis);
    texts.Sound = alarms.sound;
    return texts;
}

std::optional<AlarmLimitsProblem> CheckAlarmLimits(const AlarmOptionTexts &texts)
{
    const QString message =
        QCoreApplication::translate("AlarmOptions", "The low limit must be below the high limit of its display");
    if (lowNotBelowHigh(texts.High1, texts.Low1))
        return AlarmLimitsProblem{message, 1};
    if (lowNotBelowHigh(texts.High2, texts.Low2))
        return AlarmLimitsProblem{message, 2};
    return std::nullopt;
}

void StoreAlarmOptions(const AlarmOptionTexts &texts, SettingsStore &settings)
{
    WriteSetting(settings, Setting::AlarmHigh1, texts.High1.trimmed());
    WriteSetting(settings, Setting::AlarmLow1, texts.Low1.trimmed());
    WriteSetting(settings, Setting::AlarmHigh2, texts.High2.trimmed());
    WriteSetting(settings, Setting::AlarmLow2, texts.Low2.trimmed());
    // An empty box is no hysteresis.
    const QString hysteresis = texts.Hysteresis.trimmed();
    WriteSetting(settings, Setting::AlarmHysteresis, hysteresis.isEmpty() ? QStringLiteral("0") : hysteresis);
    WriteSetting(settings, Setting::AlarmSound, UserBooleanText(texts.Sound));
}
