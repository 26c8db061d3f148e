#include "TrendTexts.h"

#include <OleClock.h>

namespace Sweepgraph {

namespace {

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
    // The time to the second, cut as a clock shows it, as the host's own texts show it.
    const auto clock = OleClockTime(oleDate);
    if (!clock)
        return std::nullopt;
    const QString timeText = locale.toString(clock->time(), LongTimePattern(locale));
    if (clock->day == 0)
        return timeText;
    const QString dateText = locale.toString(clock->date(), QLocale::ShortFormat);
    if (clock->millisecond == 0)
        return dateText;
    return dateText + QLatin1Char(' ') + timeText;
}

} // namespace Sweepgraph
