#include "OleDate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr std::int64_t MillisecondsPerDay = 86400000;
// 0100-01-01 and 9999-12-31 as day numbers: the range of the stamp format.
constexpr std::int64_t FirstDay = -657434;
constexpr std::int64_t LastDay = 2958465;

std::int64_t epochJulianDay()
{
    static const std::int64_t day = QDate(1899, 12, 30).toJulianDay();
    return day;
}

struct WallTime {
    std::int64_t day = 0;          // days since 1899-12-30
    std::int32_t millisecond = 0;  // of the day
};

// Splits a stamp into day and time of day, rounded to the millisecond; a time
// rounded up to midnight belongs to the next day on the wall clock, also
// before 1899-12-30.
bool splitOleDate(double oleDate, WallTime &wall)
{
    if (!std::isfinite(oleDate) || oleDate <= double(FirstDay - 1) || oleDate >= double(LastDay + 1))
        return false;
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
        return false;
    wall.day = day;
    wall.millisecond = std::int32_t(millisecond);
    return true;
}

char *putDigits(char *out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

} // namespace

QDateTime OleDateToLocal(double oleDate)
{
    WallTime wall;
    if (!splitOleDate(oleDate, wall))
        return QDateTime();
    return QDateTime(QDate::fromJulianDay(epochJulianDay() + wall.day),
                     QTime::fromMSecsSinceStartOfDay(wall.millisecond), Qt::LocalTime);
}

double LocalToOleDate(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    const QDateTime local = dateTime.toLocalTime();
    const double day = double(local.date().toJulianDay() - epochJulianDay());
    const double fraction = double(local.time().msecsSinceStartOfDay()) / double(MillisecondsPerDay);
    return day < 0 ? day - fraction : day + fraction;
}

std::string OleDateIsoText(double oleDate)
{
    WallTime wall;
    if (!splitOleDate(oleDate, wall))
        return std::string();
    int year = 0, month = 0, day = 0;
    QDate::fromJulianDay(epochJulianDay() + wall.day).getDate(&year, &month, &day);
    const int ms = wall.millisecond;
    char text[23];
    char *p = putDigits(text, year, 4);
    *p++ = '-';
    p = putDigits(p, month, 2);
    *p++ = '-';
    p = putDigits(p, day, 2);
    *p++ = 'T';
    p = putDigits(p, ms / 3600000, 2);
    *p++ = ':';
    p = putDigits(p, ms / 60000 % 60, 2);
    *p++ = ':';
    p = putDigits(p, ms / 1000 % 60, 2);
    *p++ = '.';
    p = putDigits(p, ms % 1000, 3);
    return std::string(text, p);
}
