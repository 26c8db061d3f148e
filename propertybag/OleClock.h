#pragma once

// Where an OLE Automation date lies on the wall clock. Sample stamps and the
// chart's time labels use these dates (days since 1899-12-30 00:00, the time
// of day as fraction; before that day the whole part counts backwards but the
// fraction still counts forwards from midnight, so -1.25 is 1899-12-29 06:00).
// The chart and the program read them through the same two functions so that
// one sample shows one time on the charts, the labels and the printouts.

#include <QDate>
#include <QTime>

#include <cmath>
#include <cstdint>
#include <optional>

struct OleWallTime {
    std::int64_t day = 0;         // days since 1899-12-30
    std::int32_t millisecond = 0; // of the day

    QDate date() const { return QDate(1899, 12, 30).addDays(day); }
    QTime time() const { return QTime::fromMSecsSinceStartOfDay(millisecond); }
};

// The wall time of a stamp to the millisecond, the resolution stamps are
// taken at: rounding to it undoes the error of the binary fraction (12:09:42
// may be stored a hair below). A time rounded up to midnight belongs to the
// next day, also before 1899-12-30. Nothing for NaN, infinities and stamps
// outside the years 100 to 9999.
inline std::optional<OleWallTime> OleWallTimeOf(double oleDate)
{
    constexpr std::int64_t MillisecondsPerDay = 86400000;
    // 0100-01-01 and 9999-12-31 as day numbers: the range of the format.
    constexpr std::int64_t FirstDay = -657434;
    constexpr std::int64_t LastDay = 2958465;
    if (!std::isfinite(oleDate) || oleDate <= double(FirstDay - 1) || oleDate >= double(LastDay + 1))
        return std::nullopt;
    const double whole = std::trunc(oleDate);
    const std::int64_t fraction = std::llround(std::fabs(oleDate - whole) * double(MillisecondsPerDay));
    const std::int64_t total = std::int64_t(whole) * MillisecondsPerDay + fraction;
    std::int64_t day = total / MillisecondsPerDay;
    std::int64_t millisecond = total % MillisecondsPerDay;
    if (millisecond < 0) {
        millisecond += MillisecondsPerDay;
        --day;
    }
    if (day < FirstDay || day > LastDay)
        return std::nullopt;
    return OleWallTime{day, std::int32_t(millisecond)};
}

// What a clock shows for a stamp: its wall time cut to the whole second,
// never rounded up, so 12:09:42.6 reads 12:09:42 until 12:09:43 begins.
// Every text that shows a stamp to the second takes its time from here.
inline std::optional<OleWallTime> OleClockTime(double oleDate)
{
    std::optional<OleWallTime> wall = OleWallTimeOf(oleDate);
    if (wall)
        wall->millisecond -= wall->millisecond % 1000;
    return wall;
}
