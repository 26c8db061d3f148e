#include "TrendTexts.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace Sweepgraph {

namespace {

// The Automation date range: 1 January 100 to 31 December 9999.
constexpr double FirstOleDay = -657434.0;
constexpr double LastOleDay = 2958465.0;
constexpr qint64 SecondsPerDay = 86400;

// The locale's long time pattern without the time zone, which a time of day
// on a chart has no use for.
QString LongTimePattern(const QLocale &locale)
{
    const QString pattern = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.simplified();
}

} // namespace

QString ScaleValueText(double value, const QLocale &locale)
{
    QString text = QString::number(value + 0.0, 'f', 2); // + 0.0 turns -0 into 0
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

std::optional<QString> GeneralDateTimeText(double oleDate, const QLocale &locale)
{
    if (!(oleDate >= FirstOleDay && oleDate < LastOleDay + 1.0))
        return std::nullopt;
    // Before the epoch the day counts backwards but the fraction still runs
    // forward from midnight: -1.25 is 29 December 1899, 06:00.
    qint64 day = qint64(std::trunc(oleDate));
    qint64 seconds = std::llround(std::fabs(oleDate - double(day)) * double(SecondsPerDay));
    if (seconds >= SecondsPerDay) {
        seconds -= SecondsPerDay; // rounded up to the next midnight
        ++day;
    }
    const QDate date = QDate(1899, 12, 30).addDays(day);
    const QTime time = QTime(0, 0).addSecs(int(seconds));
    const QString timeText = locale.toString(time, LongTimePattern(locale));
    if (day == 0)
        return timeText;
    const QString dateText = locale.toString(date, QLocale::ShortFormat);
    if (seconds == 0)
        return dateText;
    return dateText + QLatin1Char(' ') + timeText;
}

} // namespace Sweepgraph
