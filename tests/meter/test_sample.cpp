#include "NumberText.h"
#include "Sample.h"
#include "SampleStore.h"
#include "SampleTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

TEST(SampleRecord, FieldsLandAtTheirByteOffsetsLittleEndian)
{
    Sample s;
    s.FirstValue = 1.0f; // 0x3F800000
    s.FirstUnit = 0x48;
    s.Symbols = 0x50;
    s.SecondValue = -2.0f; // 0xC0000000
    s.SecondUnit = 0x06;
    s.Mode = 0x40;
    s.Stamp = 2.0;    // 0x4000000000000000
    s.Seconds = 0.5f; // 0x3F000000
    s.Symbols2 = 0x50;
    const SampleRecordBytes b = s.toBytes();
    const SampleRecordBytes expected = {0x00, 0x00, 0x80, 0x3F, 0x48, 0x50, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0xC0, 0x06, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0x00, 0x40, 0x00, 0x00, 0x00, 0x3F, 0x50, 0x00, 0x00, 0x00};
    EXPECT_EQ(b, expected);
}

TEST(SampleRecord, BytesRoundTripIncludingPadding)
{
    SampleRecordBytes raw;
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = std::uint8_t(0x11 * (i % 15) + i);
    const Sample s = Sample::fromBytes(raw.data());
    EXPECT_EQ(s.toBytes(), raw);
    EXPECT_EQ(s.Padding6[1], raw[7]);
    EXPECT_EQ(s.Padding29[2], raw[31]);
}

TEST(SampleRecord, StatisticsRecordUsesTheThreeFloatSlots)
{
    Sample record;
    StatisticsRecord::setMaxIndex(record, 7);
    StatisticsRecord::setMinIndex(record, 3);
    StatisticsRecord::setMean(record, 12.5f);
    const SampleRecordBytes b = record.toBytes();
    float max, min, mean;
    std::memcpy(&max, &b[0], 4);
    std::memcpy(&min, &b[8], 4);
    std::memcpy(&mean, &b[24], 4);
    EXPECT_EQ(max, 7.0f);
    EXPECT_EQ(min, 3.0f);
    EXPECT_EQ(mean, 12.5f);
}

struct UnitCase {
    std::uint8_t byte;
    const char *text;
};

TEST(SampleTexts, FirstUnitNameLaterBitsWin)
{
    for (const UnitCase c :
         {UnitCase{0x48, "A"}, {0x21, ""}, {0xC0, "kWh"}, {0x40, "kW"}, {0x04, "V"}, {0x0E, "kVA"}, {0x31, ""}})
        EXPECT_EQ(FirstUnitName(c.byte), c.text) << int(c.byte);
}

TEST(SampleTexts, SecondUnitName)
{
    for (const UnitCase c : {UnitCase{0x07, "kVA"},
                             {0x0F, "kVAr"},
                             {0x06, "V"},
                             {0x30, "Hz"},
                             {0x01, ""},
                             {0x80, ""},
                             {0x40, "min"},
                             {0x60, "hmin"},
                             {0x04, "A"}})
        EXPECT_EQ(SecondUnitName(c.byte), c.text) << int(c.byte);
}

TEST(SampleTexts, SecondValueTextInTimeMode)
{
    const std::uint8_t time = ModeBits::Time;
    EXPECT_EQ(SecondValueText(time, 7), "00:07");
    EXPECT_EQ(SecondValueText(time, 45), "00:45");
    EXPECT_EQ(SecondValueText(time, 105), "01:05");
    EXPECT_EQ(SecondValueText(time, 530), "05:30");
    EXPECT_EQ(SecondValueText(time, 5959), "59:59");
    EXPECT_EQ(SecondValueText(time, 12345), "12345");
    EXPECT_EQ(SecondValueText(0, 105), "105");
    EXPECT_EQ(SecondValueText(0, 12.5f), "12.5");
    EXPECT_EQ(SecondValueText(0, 230.1f), "230.1");
}

TEST(SampleTexts, SecondFunctionTextLastSetBitWins)
{
    EXPECT_EQ(SecondFunctionText(0x84), "MIN");
    EXPECT_EQ(SecondFunctionText(0x4A), "Time");
    EXPECT_EQ(SecondFunctionText(0x0E), "MAX");
    EXPECT_EQ(SecondFunctionText(0x02), "PF");
    EXPECT_EQ(SecondFunctionText(0x31), "");
}

TEST(SampleTexts, NoteTextLowestPhaseBitWinsAndIsUnicode)
{
    EXPECT_EQ(NoteText(0x84), "\u04241");
    EXPECT_EQ(NoteText(0x84), "\xD0\xA4"
                              "1");
    EXPECT_EQ(NoteText(0x03), "");
    EXPECT_EQ(NoteText(0x80), "W3\u0424");
    EXPECT_EQ(NoteText(0x40), "\xE2\x88\x91W");
    EXPECT_EQ(NoteText(0x28), "\u04242");
}

TEST(SampleStoreTest, AppendAfterResetDropsOldRecordsButKeepsRecordZero)
{
    SampleStore store;
    AcquisitionState acquisition;
    for (int i = 1; i <= 50; ++i) {
        Sample s;
        s.FirstValue = float(i);
        store.AppendSample(s);
    }
    store.Samples[0].FirstValue = 42;
    acquisition.Modified = true;
    acquisition.RestartClock = false;
    acquisition.MemoryTaken[7] = true;
    acquisition.FirstSum = 3;
    acquisition.PacketCount = 2;
    ResetRecording(store, acquisition);
    EXPECT_EQ(store.SampleCount, 0);
    EXPECT_EQ(store.Samples.size(), 51u) << "a reset leaves the array alone";
    EXPECT_FALSE(acquisition.Modified);
    EXPECT_TRUE(acquisition.RestartClock);
    EXPECT_FALSE(acquisition.MemoryTaken[7]);
    EXPECT_EQ(acquisition.FirstSum, 3) << "the running sums survive a reset";
    EXPECT_EQ(acquisition.PacketCount, 2);

    Sample next;
    next.FirstValue = 99;
    store.AppendSample(next);
    ASSERT_EQ(store.Samples.size(), 2u);
    EXPECT_EQ(store.SampleCount, 1);
    EXPECT_EQ(store.Samples[0].FirstValue, 42);
    EXPECT_EQ(store.Samples[1].FirstValue, 99);
}

TEST(SampleStoreTest, SampleIntervalFollowsAutoInterval)
{
    SampleStore store;
    store.InterValue = 2.5f;
    store.AutoInterval = false;
    store.RecomputeSampleInterval();
    EXPECT_EQ(store.SampleInterval, 2.5f);
    store.AutoInterval = true;
    store.RecomputeSampleInterval();
    EXPECT_EQ(store.SampleInterval, 0.0f);
}

TEST(NumberTextTest, RoundingGoesToEvenAndToTwoDecimals)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundToTwoDecimals(12.3456), 12.35f);
    EXPECT_EQ(RoundToTwoDecimals(0.125), 0.12f);
    EXPECT_EQ(RoundToTwoDecimals(-1.004), -1.0f);
}

TEST(NumberTextTest, FloatTexts)
{
    EXPECT_EQ(ShortestFloatText(12.35f), "12.35");
    EXPECT_EQ(ShortestFloatText(-9999.0f), "-9999");
    EXPECT_EQ(ShortestFloatText(1.0f / 3.0f), "0.33333334");
    EXPECT_EQ(GeneralFloatText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(GeneralFloatText(1234567.0f), "1234567");
    EXPECT_EQ(GeneralFloatText(100.5f), "100.5");
    EXPECT_EQ(GeneralFloatText(0.0f), "0");
    EXPECT_EQ(GeneralFloatText(12345.678f), "12345.68");
    EXPECT_EQ(GeneralFloatText(0.000123456789f), "0.0001234568");
    EXPECT_EQ(GeneralFloatText(1e8f), "1E+08");
    EXPECT_EQ(GeneralFloatText(-2.5e-7f), "-2.5E-07");
}

// The general text follows C's %g in the "C" locale, with an upper-case
// exponent of at least two digits and no trailing zeros.
TEST(NumberTextTest, GeneralTextMatchesTheCLibrarysGeneralFormat)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 20);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        for (int digits : {7, 15}) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
            std::string expected(buffer);
            const auto e = expected.find('e');
            std::string head = expected.substr(0, e);
            if (head.find('.') != std::string::npos) {
                head.erase(head.find_last_not_of('0') + 1);
                if (head.back() == '.')
                    head.pop_back();
            }
            expected = e == std::string::npos ? head : head + "E" + expected.substr(e + 1);
            ASSERT_EQ(GeneralNumberText(value, digits), expected) << value << " with " << digits << " digits";
        }
    }
    EXPECT_EQ(GeneralNumberText(999999.95, 7), "999999.9"); // 999999.9499999... in binary
    EXPECT_EQ(GeneralNumberText(9999999.5, 7), "1E+07");    // rounds up into the next decade
    EXPECT_EQ(GeneralNumberText(0.0, 15), "0");
    EXPECT_EQ(GeneralNumberText(-1e100, 15), "-1E+100");
}

TEST(NumberTextTest, ValuesThatAreNoNumber)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Machine text: one spelling each, whatever the sign bit of a NaN.
    EXPECT_EQ(ShortestFloatText(nan), "nan");
    EXPECT_EQ(ShortestFloatText(-nan), "nan");
    EXPECT_EQ(ShortestFloatText(inf), "inf");
    EXPECT_EQ(ShortestFloatText(-inf), "-inf");
    // What a person reads.
    EXPECT_EQ(GeneralFloatText(nan), "---");
    EXPECT_EQ(GeneralFloatText(-nan), "---");
    EXPECT_EQ(GeneralFloatText(inf), "OL");
    EXPECT_EQ(GeneralFloatText(-inf), "-OL");
    EXPECT_EQ(GeneralFloatText(3.4e38f), "3.4E+38");
    EXPECT_EQ(NonFiniteText(12.5), "");
}

TEST(SampleTexts, SecondValueOfNoNumberIsNeverMinutesAndSeconds)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::uint8_t time = ModeBits::Time;
    EXPECT_EQ(SecondValueText(time, nan), "---");
    EXPECT_EQ(SecondValueText(time, inf), "OL");
    EXPECT_EQ(SecondValueText(time, -inf), "-OL");
    EXPECT_EQ(SecondValueCsvText(time, 530), "05:30");
    EXPECT_EQ(SecondValueCsvText(time, nan), "nan");
    EXPECT_EQ(SecondValueCsvText(time, inf), "inf");
    EXPECT_EQ(SecondValueCsvText(0, -inf), "-inf");
    // The other number columns of the CSV are written the same way.
    EXPECT_EQ(SecondValueCsvText(0, 3.4e38f), ShortestFloatText(3.4e38f));
    EXPECT_EQ(SecondValueCsvText(0, 1.0f / 3.0f), "0.33333334");
    EXPECT_EQ(SecondValueCsvText(time, 12345), "12345");
}
