// LimitAlarm on its own: which crossings are events, the hysteresis that keeps
// noise around a limit from chattering, the texts passed on, and what the
// window keeps of the alarms.

#include "AlarmMonitor.h"
#include "LimitAlarm.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint8_t UnitA = 0x08;   // FirstUnit bit 3
constexpr std::uint8_t SecondV = 0x02; // SecondUnit bit 1

Sample sampleOf(float first, float second = 230.0f)
{
    Sample s;
    s.FirstValue = first;
    s.FirstUnit = UnitA;
    s.SecondValue = second;
    s.SecondUnit = SecondV;
    s.Stamp = 46000.5; // 2025-12-09 12:00
    return s;
}

// Every event of a run of first-display values, sample indices from 1.
std::vector<LimitEvent> eventsOf(LimitAlarm &alarm, const std::vector<float> &values)
{
    std::vector<LimitEvent> all;
    std::int32_t index = 0;
    for (float value : values) {
        for (const LimitEvent &e : alarm.sampleAppended(sampleOf(value), ++index))
            all.push_back(e);
    }
    return all;
}

LimitSettings highAndLow(float high, float low, float hysteresis)
{
    LimitSettings settings;
    settings.first.high = high;
    settings.first.low = low;
    settings.hysteresis = hysteresis;
    return settings;
}

} // namespace

TEST(LimitAlarm, NoiseAroundTheHighLimitInsideTheHysteresisRaisesOneEventEachWay)
{
    LimitAlarm alarm(highAndLow(100, 0, 2));
    // Up through the limit, then dithering between 98.5 and 101.5 (all within
    // 2 of it), then clearly back below, then the same once more.
    const std::vector<float> values = {95,   99,   100.5, 99.5, 101.5, 98.5,  100.5, 98.1, 99.9,
                                       97.9, 98.5, 100,   99,   100.1, 98.01, 101,   97};
    const std::vector<LimitEvent> events = eventsOf(alarm, values);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].direction, AlarmDirection::AboveHigh);
    EXPECT_EQ(events[0].index, 3);
    EXPECT_FLOAT_EQ(events[0].value, 100.5f);
    EXPECT_EQ(events[1].direction, AlarmDirection::BackBelowHigh);
    EXPECT_EQ(events[1].index, 10) << "only below 98, the limit less the hysteresis";
    EXPECT_FLOAT_EQ(events[1].value, 97.9f);
    EXPECT_EQ(events[2].direction, AlarmDirection::AboveHigh);
    EXPECT_EQ(events[2].index, 14) << "100 itself is not above the limit";
    EXPECT_EQ(events[3].direction, AlarmDirection::BackBelowHigh);
    EXPECT_EQ(events[3].index, 17);
    for (const LimitEvent &e : events) {
        EXPECT_EQ(e.display, AlarmDisplay::First);
        EXPECT_EQ(e.limit, AlarmLimit::High);
        EXPECT_FLOAT_EQ(e.limitValue, 100.0f);
        EXPECT_EQ(e.unit, "A");
    }
}

TEST(LimitAlarm, NoiseAroundTheLowLimitInsideTheHysteresisRaisesOneEventEachWay)
{
    LimitAlarm alarm(highAndLow(100, 10, 0.5f));
    const std::vector<LimitEvent> events = eventsOf(alarm, {12, 9.9f, 10.2f, 9.8f, 10.4f, 9.6f, 10.6f, 10.3f, 9.9f});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].direction, AlarmDirection::BelowLow);
    EXPECT_EQ(events[0].index, 2);
    EXPECT_EQ(events[1].direction, AlarmDirection::BackAboveLow);
    EXPECT_EQ(events[1].index, 7);
    EXPECT_EQ(events[2].direction, AlarmDirection::BelowLow);
    EXPECT_EQ(events[2].index, 9);
    for (const LimitEvent &e : events)
        EXPECT_EQ(e.limit, AlarmLimit::Low);
}

TEST(LimitAlarm, WithoutHysteresisEveryCrossingCounts)
{
    LimitAlarm alarm(highAndLow(100, -100, 0));
    const std::vector<LimitEvent> events = eventsOf(alarm, {99, 101, 99, 101, 100, 99.99f});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].direction, AlarmDirection::AboveHigh);
    EXPECT_EQ(events[3].direction, AlarmDirection::BackBelowHigh);
    EXPECT_EQ(events[3].index, 6) << "back at the limit itself is not yet below it";
}

TEST(LimitAlarm, ARecordingThatStartsBeyondALimitRaisesItWithTheFirstSample)
{
    LimitAlarm alarm(highAndLow(100, 10, 1));
    const std::vector<LimitEvent> above = eventsOf(alarm, {150});
    ASSERT_EQ(above.size(), 1u);
    EXPECT_EQ(above[0].direction, AlarmDirection::AboveHigh);
    LimitAlarm low(highAndLow(100, 10, 1));
    const std::vector<LimitEvent> below = eventsOf(low, {5});
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(below[0].direction, AlarmDirection::BelowLow);
}

TEST(LimitAlarm, AJumpAcrossBothLimitsRaisesBothInOrder)
{
    LimitAlarm alarm(highAndLow(100, 10, 1));
    const std::vector<LimitEvent> events = eventsOf(alarm, {150, 5});
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].direction, AlarmDirection::AboveHigh);
    EXPECT_EQ(events[1].direction, AlarmDirection::BackBelowHigh);
    EXPECT_EQ(events[2].direction, AlarmDirection::BelowLow);
    EXPECT_EQ(events[1].index, 2);
    EXPECT_EQ(events[2].index, 2);
}

TEST(LimitAlarm, TheTwoDisplaysHaveLimitsOfTheirOwn)
{
    LimitSettings settings;
    settings.second.high = 240;
    settings.second.low = 220;
    LimitAlarm alarm(settings);
    EXPECT_TRUE(alarm.sampleAppended(sampleOf(1e6f, 230), 1).empty()) << "no limit on the first display";
    const std::vector<LimitEvent> events = alarm.sampleAppended(sampleOf(0, 215.5f), 2);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].display, AlarmDisplay::Second);
    EXPECT_EQ(events[0].direction, AlarmDirection::BelowLow);
    EXPECT_FLOAT_EQ(events[0].value, 215.5f);
    EXPECT_EQ(events[0].unit, "V");
    EXPECT_FALSE(LimitSettings().any());
    EXPECT_TRUE(settings.any());
}

TEST(LimitAlarm, AnEventAsFieldsAndAsALine)
{
    LimitAlarm alarm(highAndLow(500, 0, 10));
    Sample s = sampleOf(509.9f);
    const std::vector<LimitEvent> events = alarm.sampleAppended(s, 52);
    ASSERT_EQ(events.size(), 1u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"DISPLAY", "first"}, {"LIMIT", "high"}, {"DIRECTION", "above-high"},         {"VALUE", "509.9"},
        {"THRESHOLD", "500"}, {"UNIT", "A"},     {"TIME", "2025-12-09T12:00:00.000"}, {"INDEX", "52"},
    };
    EXPECT_EQ(LimitEventFields(events[0]), expected);
    EXPECT_EQ(LimitEventText(events[0]),
              "first display above high limit 500 A: 509.9 A at 2025-12-09T12:00:00.000, sample 52");
    EXPECT_STREQ(AlarmDirectionName(AlarmDirection::BackBelowHigh), "back-below-high");
    EXPECT_STREQ(AlarmDirectionName(AlarmDirection::BelowLow), "below-low");
    EXPECT_STREQ(AlarmDirectionName(AlarmDirection::BackAboveLow), "back-above-low");
}

// The window's side: what is in alarm and what the status bar says, START
// arming every limit again, new limits from Options taking effect at once.
TEST(AlarmMonitor, KeepsWhatIsInAlarmForTheWindow)
{
    AlarmSettings settings;
    settings.limits.second.low = 200;
    settings.limits.hysteresis = 5;
    settings.sound = true;
    AlarmMonitor monitor;
    int changes = 0, beeps = 0;
    QObject::connect(&monitor, &AlarmMonitor::changed, [&] { ++changes; });
    QObject::connect(&monitor, &AlarmMonitor::soundRequested, [&] { ++beeps; });

    EXPECT_TRUE(monitor.sampleAppended(sampleOf(0, 150), 1).empty()) << "nothing before START";
    monitor.start(settings);
    EXPECT_EQ(changes, 0);
    ASSERT_EQ(monitor.sampleAppended(sampleOf(0, 190.5f), 1).size(), 1u);
    EXPECT_TRUE(monitor.inAlarm(AlarmDisplay::Second));
    EXPECT_FALSE(monitor.inAlarm(AlarmDisplay::First));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Alarm: second display below low limit 200 V: 190.5 V"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(monitor.sampleAppended(sampleOf(0, 204), 2).empty()) << "within the hysteresis";
    EXPECT_TRUE(monitor.inAlarm(AlarmDisplay::Second));

    // The same limits again change nothing; new ones arm again at once.
    monitor.apply(settings);
    EXPECT_TRUE(monitor.inAlarm(AlarmDisplay::Second));
    settings.limits.second.low = 180;
    monitor.apply(settings);
    EXPECT_FALSE(monitor.inAlarm(AlarmDisplay::Second));
    EXPECT_TRUE(monitor.statusText().isEmpty());
    EXPECT_TRUE(monitor.sampleAppended(sampleOf(0, 190), 3).empty()) << "above the new limit";

    ASSERT_EQ(monitor.sampleAppended(sampleOf(0, 170), 4).size(), 1u);
    ASSERT_EQ(monitor.sampleAppended(sampleOf(0, 186), 5).size(), 1u);
    EXPECT_FALSE(monitor.inAlarm(AlarmDisplay::Second));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Alarm cleared: second display back above low limit 180 V: 186 V"));
    EXPECT_EQ(beeps, 2) << "a clearing does not beep";

    ASSERT_EQ(monitor.sampleAppended(sampleOf(0, 100), 6).size(), 1u);
    monitor.stop();
    EXPECT_FALSE(monitor.inAlarm(AlarmDisplay::Second));
    EXPECT_TRUE(monitor.statusText().isEmpty());
    EXPECT_TRUE(monitor.sampleAppended(sampleOf(0, 100), 7).empty());
}
