#include "OleDate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr std::int64_t MillisecondsPerDay = 86400000;

std::int64_t epochJulianDay()
{
    static const std::int64_t day = QDate(1899, 12, 30).toJulianDay();
    return day;
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
    const auto wall = OleWallTimeOf(oleDate);
    if (!wall)
        return QDateTime();
    return QDateTime(wall->date(), wall->time(), Qt::LocalTime);
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
    const auto wall = OleWallTimeOf(oleDate);
    if (!wall)
        return std::string();
    int year = 0, month = 0, day = 0;
    wall->date().getDate(&year, &month, &day);
    const int ms = wall->millisecond;
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
