#include "StartupSettings.h"

#include "SettingRanges.h"
#include "UserNumber.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

std::optional<float> readSingle(const SettingsStore &settings, const Setting::Key &key)
{
    const auto value = ParseUserNumber(ReadSetting(settings, key));
    if (!value || *value > FLT_MAX || *value < -FLT_MAX)
        return std::nullopt;
    return float(*value);
}

std::optional<qint32> readLong(const SettingsStore &settings, const Setting::Key &key)
{
    const auto value = ParseUserWholeNumber(ReadSetting(settings, key), INT32_MIN, INT32_MAX);
    if (!value)
        return std::nullopt;
    return qint32(*value);
}

std::optional<OleColor> readColor(const SettingsStore &settings, const Setting::Key &key)
{
    const auto value = readLong(settings, key);
    if (!value)
        return std::nullopt;
    return OleColor(*value);
}

std::optional<bool> readBoolean(const SettingsStore &settings, const Setting::Key &key)
{
    return ParseUserBoolean(ReadSetting(settings, key));
}

// An empty text is no limit; one that does not convert leaves the limit as it was.
void loadLimit(const SettingsStore &settings, const Setting::Key &key, std::optional<float> &limit)
{
    if (ReadSetting(settings, key).trimmed().isEmpty())
        limit.reset();
    else if (const auto value = readSingle(settings, key))
        limit = *value;
}

template <typename T, typename Apply>
void load(const std::optional<T> &value, Apply apply)
{
    if (value)
        apply(*value);
}

} // namespace

void LoadStoredChartSettings(const SettingsStore &settings, TrendChart &chart1, TrendChart &chart2)
{
    load(readSingle(settings, Setting::FirstTopY), [&](float v) { chart1.setTopY(v); });
    load(readSingle(settings, Setting::FirstBottomY), [&](float v) { chart1.setBottomY(v); });
    // A hand-edited width the Options dialog would refuse (zero or less leaves
    // the charts without a window) loads as the nearest one it takes.
    load(readSingle(settings, Setting::FirstRightX), [&](float v) { chart1.setRightx(XMaxRange.nearest(v)); });
    load(readSingle(settings, Setting::SecondTopY), [&](float v) { chart2.setTopY(v); });
    load(readSingle(settings, Setting::SecondBottomY), [&](float v) { chart2.setBottomY(v); });
    load(readColor(settings, Setting::FirstBkColor), [&](OleColor v) { chart1.setTrendBackColor(v); });
    load(readColor(settings, Setting::SecondBkColor), [&](OleColor v) { chart2.setTrendBackColor(v); });
    chart2.setRightx(chart1.Rightx());
    load(readLong(settings, Setting::FirstGridCols), [&](qint32 v) { chart1.setGridCols(v); });
    load(readLong(settings, Setting::FirstGridRows), [&](qint32 v) { chart1.setGridRows(v); });
    load(readLong(settings, Setting::SecondGridCols), [&](qint32 v) { chart2.setGridCols(v); });
    load(readLong(settings, Setting::SecondGridRows), [&](qint32 v) { chart2.setGridRows(v); });
    load(readColor(settings, Setting::FirstGridColor), [&](OleColor v) { chart1.setGridColor(v); });
    load(readColor(settings, Setting::SecondGridColor), [&](OleColor v) { chart2.setGridColor(v); });
    load(readLong(settings, Setting::LineWidth), [&](qint32 v) { chart1.setLineWidth(v); });
    chart2.setLineWidth(chart1.LineWidth());
}

void LoadStoredSettings(const SettingsStore &settings, ProgramState &state, TrendChart &chart1, TrendChart &chart2)
{
    ViewState &view = state.view;
    SampleStore &store = state.store;
    LoadStoredChartSettings(settings, chart1, chart2);
    load(readSingle(settings, Setting::InterValue), [&](float v) { store.InterValue = v; });
    load(readColor(settings, Setting::FirstLineColor), [&](OleColor v) { view.FirstLineColor = v; });
    load(readColor(settings, Setting::SecondLineColor), [&](OleColor v) { view.SecondLineColor = v; });
    load(readBoolean(settings, Setting::TimeMode), [&](bool v) { view.TimeMode = v; });
    load(readBoolean(settings, Setting::AutoInterval), [&](bool v) { store.AutoInterval = v; });
    // The dialog holds the interval to its range only while it is in force:
    // with Auto it keeps whatever the box shows (0 on a first run).
    if (!store.AutoInterval)
        store.InterValue = InterValueRange.nearest(store.InterValue);
    load(readBoolean(settings, Setting::DiscardDamagedFrames),
         [&](bool v) { state.acquisition.DiscardDamagedFrames = v; });
    store.RecomputeSampleInterval();
    LimitSettings &limits = state.alarms.limits;
    loadLimit(settings, Setting::AlarmHigh1, limits.first.high);
    loadLimit(settings, Setting::AlarmLow1, limits.first.low);
    loadLimit(settings, Setting::AlarmHigh2, limits.second.high);
    loadLimit(settings, Setting::AlarmLow2, limits.second.low);
    load(readSingle(settings, Setting::AlarmHysteresis),
         [&](float v) { limits.hysteresis = HysteresisRange.nearest(v); });
    load(readBoolean(settings, Setting::AlarmSound), [&](bool v) { state.alarms.sound = v; });
}

std::int16_t LoadStoredPortNumber(const SettingsStore &settings)
{
    const auto port = ParseUserNumber(ReadSetting(settings, Setting::ComPort));
    if (!port || *port != std::trunc(*port) || *port < 1 || *port > 4)
        return 1;
    return std::int16_t(*port);
}

void SaveStoredPortNumber(SettingsStore &settings, std::int16_t portNumber)
{
    WriteSetting(settings, Setting::ComPort, QString::number(portNumber));
}
