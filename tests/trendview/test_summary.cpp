#include "CursorFigures.h"
#include "RecordingSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr std::uint8_t KilowattUnit = 0x40; // byte of the first display: kW
constexpr std::uint8_t AmpereUnit = 0x08;   // A

Sample makeSample(float first, float second, float seconds, std::uint8_t unit = KilowattUnit)
{
    Sample s;
    s.FirstValue = first;
    s.SecondValue = second;
    s.Seconds = seconds;
    s.FirstUnit = unit;
    return s;
}

// The figures of samples first..last, one sample at a time.
RangeSummary direct(const SampleStore &store, SummarySeries series, std::int32_t first, std::int32_t last)
{
    auto value = [&](std::int32_t i) {
        const Sample &s = store.sample(i);
        return series == SummarySeries::FirstValue    ? double(s.FirstValue)
               : series == SummarySeries::SecondValue ? double(s.SecondValue)
                                                      : double(s.Seconds);
    };
    RangeSummary r;
    r.minIndex = r.maxIndex = first;
    r.min = r.max = value(first);
    for (std::int32_t i = first; i <= last; ++i) {
        const double v = value(i);
        if (v < r.min) {
            r.min = v;
            r.minIndex = i;
        }
        if (v > r.max) {
            r.max = v;
            r.maxIndex = i;
        }
        r.sum += v;
        ++r.count;
    }
    return r;
}

double directArea(const SampleStore &store, std::int32_t first, std::int32_t last)
{
    double area = 0;
    for (std::int32_t i = first + 1; i <= last; ++i) {
        const Sample &a = store.sample(i - 1);
        const Sample &b = store.sample(i);
        area += (double(a.FirstValue) + double(b.FirstValue)) / 2 * (double(b.Seconds) - double(a.Seconds));
    }
    return area;
}

void expectSame(const RangeSummary &expected, const RangeSummary &got, const char *what)
{
    EXPECT_EQ(expected.count, got.count) << what;
    EXPECT_EQ(expected.minIndex, got.minIndex) << what;
    EXPECT_EQ(expected.maxIndex, got.maxIndex) << what;
    EXPECT_EQ(expected.min, got.min) << what;
    EXPECT_EQ(expected.max, got.max) << what;
    EXPECT_NEAR(expected.sum, got.sum, 1e-9 * std::max(1.0, std::fabs(expected.sum))) << what;
}

// Random recordings of several lengths around the block sizes, with repeated
// values (so ties occur) and overloads of 9999.
class SummaryOnRandomRecordings : public ::testing::TestWithParam<int> {};

TEST_P(SummaryOnRandomRecordings, RangesEqualTheDirectComputation)
{
    const int count = GetParam();
    std::mt19937 random(std::uint32_t(count) * 7919u + 1);
    std::uniform_int_distribution<int> level(-20, 20);
    std::uniform_int_distribution<int> overload(0, 40);
    SampleStore store;
    RecordingSummary summary(store);
    float seconds = 0;
    for (int i = 0; i < count; ++i) {
        const float first = overload(random) == 0 ? 9999.0f : float(level(random)) * 0.5f;
        seconds += float(1 + level(random) % 3) * 0.25f;
        store.AppendSample(makeSample(first, float(level(random)), seconds));
        if (i % 3 == 0)
            summary.sync(); // appended now and then, as the cycle does
    }
    summary.sync();
    ASSERT_EQ(summary.count(), count);
    std::uniform_int_distribution<int> index(1, count);
    for (int round = 0; round < 300; ++round) {
        std::int32_t a = index(random), b = index(random);
        if (a > b)
            std::swap(a, b);
        for (SummarySeries series : {SummarySeries::FirstValue, SummarySeries::SecondValue, SummarySeries::Seconds}) {
            const RangeSummary expected = direct(store, series, a, b);
            expectSame(expected, summary.range(series, a, b), "random range");
            // The extremes alone read the end blocks only where they matter.
            const RangeExtremes extremes = summary.extremes(series, a, b);
            EXPECT_EQ(expected.minIndex, extremes.minIndex) << a << ".." << b;
            EXPECT_EQ(expected.maxIndex, extremes.maxIndex) << a << ".." << b;
            EXPECT_EQ(expected.min, extremes.min);
            EXPECT_EQ(expected.max, extremes.max);
        }
        EXPECT_NEAR(directArea(store, a, b), summary.firstArea(a, b), 1e-6 * std::max(1.0, directArea(store, a, b)));
    }
    expectSame(direct(store, SummarySeries::FirstValue, 1, count), summary.range(SummarySeries::FirstValue, 1, count),
               "whole recording");

    // A summary built in one go equals the one that grew sample by sample.
    RecordingSummary rebuilt(store);
    rebuilt.rebuild();
    expectSame(summary.range(SummarySeries::FirstValue, 1, count), rebuilt.range(SummarySeries::FirstValue, 1, count),
               "rebuilt");
}

TEST_P(SummaryOnRandomRecordings, SearchesFindWhatAScanFinds)
{
    const int count = GetParam();
    std::mt19937 random(std::uint32_t(count) + 17u);
    std::uniform_real_distribution<float> step(0.0f, 3.0f);
    SampleStore store;
    float seconds = 100;
    for (int i = 0; i < count; ++i) {
        // Mostly rising, with an occasional step back as a reset tick clock makes.
        seconds += i % 97 == 50 ? -40.0f : step(random);
        store.AppendSample(makeSample(0, 0, seconds));
    }
    RecordingSummary summary(store);
    summary.sync();
    std::uniform_int_distribution<int> index(1, count);
    std::uniform_real_distribution<float> threshold(90.0f, seconds + 10.0f);
    for (int round = 0; round < 200; ++round) {
        const std::int32_t from = index(random);
        const double t = threshold(random);
        std::int32_t expectedRising = 0;
        for (std::int32_t i = from; i <= count && expectedRising == 0; ++i)
            if (store.sample(i).Seconds > t)
                expectedRising = i;
        EXPECT_EQ(expectedRising, summary.firstRising(SummarySeries::Seconds, from, [t](double s) { return s > t; }));
        std::int32_t expectedFalling = 0;
        for (std::int32_t i = from; i >= 1 && expectedFalling == 0; --i)
            if (store.sample(i).Seconds < t)
                expectedFalling = i;
        EXPECT_EQ(expectedFalling, summary.lastFalling(SummarySeries::Seconds, from, [t](double s) { return s < t; }));
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, SummaryOnRandomRecordings, ::testing::Values(1, 2, 63, 64, 65, 129, 1000, 4099));

TEST(RecordingSummary, EdgeRecordings)
{
    SampleStore store;
    RecordingSummary summary(store);
    summary.sync();
    EXPECT_EQ(summary.range(SummarySeries::FirstValue, 1, 1).count, 0); // empty

    store.AppendSample(makeSample(9999, -3, 5));
    summary.sync();
    RangeSummary one = summary.range(SummarySeries::FirstValue, 1, 1);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.minIndex, 1);
    EXPECT_EQ(one.maxIndex, 1);
    EXPECT_EQ(one.mean(), 9999);
    EXPECT_EQ(summary.firstArea(1, 1), 0);

    // All equal: the first sample is both the minimum and the maximum.
    for (int i = 0; i < 500; ++i)
        store.AppendSample(makeSample(9999, -3, 6 + float(i)));
    summary.sync();
    const RangeSummary equal = summary.range(SummarySeries::FirstValue, 70, 480);
    EXPECT_EQ(equal.minIndex, 70);
    EXPECT_EQ(equal.maxIndex, 70);
    EXPECT_EQ(equal.min, 9999);
    EXPECT_EQ(equal.max, 9999);
    // Equal values in the block before the range do not count, those in it do.
    for (std::int32_t from : {70, 64, 65, 129})
        for (std::int32_t to : {from, from + 1, 128, 190, 480}) {
            const RangeExtremes e = summary.extremes(SummarySeries::FirstValue, from, std::max(from, to));
            EXPECT_EQ(e.minIndex, from);
            EXPECT_EQ(e.maxIndex, from);
        }
    EXPECT_DOUBLE_EQ(equal.mean(), 9999);

    // A recording that got shorter (New, then fewer samples) is summarised anew.
    store.SampleCount = 0;
    store.AppendSample(makeSample(1, 2, 3));
    summary.sync();
    EXPECT_EQ(summary.count(), 1);
    EXPECT_EQ(summary.range(SummarySeries::FirstValue, 1, 501).max, 1);
}

TEST(CursorFigures, TwoKilowattsForHalfAnHourAreOneKilowattHour)
{
    SampleStore store;
    for (int second = 0; second <= 1800; ++second)
        store.AppendSample(makeSample(2, 230, float(second)));
    RecordingSummary summary(store);
    summary.sync();
    const CursorFigures f = MeasureBetween(summary, store, 1, 1801);
    EXPECT_EQ(f.areaUnit, AreaUnit::KilowattHours);
    EXPECT_NEAR(f.area, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(f.deltaSeconds, 1800);
    EXPECT_DOUBLE_EQ(f.first.mean, 2);
    EXPECT_DOUBLE_EQ(f.first.delta, 0);
    // Cursors in the other order measure the same stretch.
    const CursorFigures back = MeasureBetween(summary, store, 1801, 1);
    EXPECT_NEAR(back.area, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(back.deltaSeconds, -1800);
}

TEST(CursorFigures, ShortRecordingByHand)
{
    // Amperes 1, 3, 2, 6 at 0, 10, 20, 50 s: trapezoids 20 + 25 + 120 = 165 A.s.
    SampleStore store;
    const float amps[] = {1, 3, 2, 6};
    const float seconds[] = {0, 10, 20, 50};
    for (int i = 0; i < 4; ++i)
        store.AppendSample(makeSample(amps[i], 10 * amps[i], seconds[i], AmpereUnit));
    RecordingSummary summary(store);
    summary.sync();
    const CursorFigures f = MeasureBetween(summary, store, 1, 4);
    EXPECT_EQ(f.areaUnit, AreaUnit::AmpereHours);
    EXPECT_STREQ(AreaUnitName(f.areaUnit), "Ah");
    EXPECT_NEAR(f.area, 165.0 / 3600, 1e-15);
    EXPECT_DOUBLE_EQ(f.first.atA, 1);
    EXPECT_DOUBLE_EQ(f.first.atB, 6);
    EXPECT_DOUBLE_EQ(f.first.delta, 5);
    EXPECT_DOUBLE_EQ(f.first.min, 1);
    EXPECT_DOUBLE_EQ(f.first.max, 6);
    EXPECT_DOUBLE_EQ(f.first.mean, 3);
    EXPECT_DOUBLE_EQ(f.second.mean, 30);
    EXPECT_DOUBLE_EQ(f.second.delta, 50);
    EXPECT_DOUBLE_EQ(f.deltaSeconds, 50);

    const CursorFigures middle = MeasureBetween(summary, store, 2, 3);
    EXPECT_NEAR(middle.area, 25.0 / 3600, 1e-15);
    EXPECT_DOUBLE_EQ(middle.deltaSeconds, 10);
}

TEST(CursorFigures, VoltsHaveNoEnergy)
{
    SampleStore store;
    store.AppendSample(makeSample(230, 0, 0, 0x04));
    store.AppendSample(makeSample(231, 0, 1, 0x04));
    RecordingSummary summary(store);
    summary.sync();
    EXPECT_EQ(MeasureBetween(summary, store, 1, 2).areaUnit, AreaUnit::None);
}

} // namespace
