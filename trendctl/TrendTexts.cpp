#include "TrendTexts.h"

#include <OleClock.h>

#include <algorithm>
#include <cmath>

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

QString ScaleValueText(double value, const QLocale &locale, int decimals)
{
    QString text = QString::number(value + 0.0, 'f', decimals); // + 0.0 turns -0 into 0
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

int ScaleDecimalsForStep(double step)
{
    // Beyond six decimals the labels would show only the noise of a float.
    constexpr int MostDecimals = 6;
    if (!std::isfinite(step) || step <= 0)
        return 2;
    return std::clamp(int(std::ceil(-std::log10(step))) + 1, 0, MostDecimals);
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
