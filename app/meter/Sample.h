#pragma once

// One recorded point, and the record of a recording file: 32 bytes, little-endian.
// The padding bytes are kept as members so that records loaded from a file are
// written back unchanged.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t SampleRecordSize = 32;
using SampleRecordBytes = std::array<std::uint8_t, SampleRecordSize>;

struct Sample {
    float FirstValue = 0;       // mean of the first display, two decimals
    std::uint8_t FirstUnit = 0; // frame byte 4
    std::uint8_t Symbols = 0;   // frame byte 9
    std::uint8_t Padding6[2] = {0, 0};
    float SecondValue = 0;       // mean of the second display, two decimals
    std::uint8_t SecondUnit = 0; // frame byte 3
    std::uint8_t Mode = 0;       // (byte 10 & 0x0F) | (byte 11 & 0xF0)
    std::uint8_t Padding14[2] = {0, 0};
    double Stamp = 0;          // local date and time as an OLE Automation date
    float Seconds = 0;         // tick clock in seconds, two decimals
    std::uint8_t Symbols2 = 0; // frame byte 9 again; the printouts read this copy
    std::uint8_t Padding29[3] = {0, 0, 0};

    SampleRecordBytes toBytes() const;
    static Sample fromBytes(const std::uint8_t *bytes);

    bool operator==(const Sample &other) const { return toBytes() == other.toBytes(); }
    bool operator!=(const Sample &other) const { return !(*this == other); }
};

static_assert(sizeof(Sample) == SampleRecordSize, "a sample is one 32-byte record");
static_assert(offsetof(Sample, FirstValue) == 0);
static_assert(offsetof(Sample, FirstUnit) == 4);
static_assert(offsetof(Sample, Symbols) == 5);
static_assert(offsetof(Sample, SecondValue) == 8);
static_assert(offsetof(Sample, SecondUnit) == 12);
static_assert(offsetof(Sample, Mode) == 13);
static_assert(offsetof(Sample, Stamp) == 16);
static_assert(offsetof(Sample, Seconds) == 24);
static_assert(offsetof(Sample, Symbols2) == 28);

// Record 0 of the store and of every file: the whole-recording statistics of the
// first display, kept in three float slots of the record.
struct StatisticsRecord {
    static float maxIndex(const Sample &record) { return record.FirstValue; }
    static float minIndex(const Sample &record) { return record.SecondValue; }
    static float mean(const Sample &record) { return record.Seconds; }
    static void setMaxIndex(Sample &record, float index) { record.FirstValue = index; }
    static void setMinIndex(Sample &record, float index) { record.SecondValue = index; }
    static void setMean(Sample &record, float mean) { record.Seconds = mean; }
};
