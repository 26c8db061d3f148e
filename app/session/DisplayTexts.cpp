#include "DisplayTexts.h"

#include "SampleTexts.h"
#include "UserNumber.h"

#include <OleClock.h>

#include <cmath>

namespace {

// "---" and "OL" stand for themselves: a unit after them would read as part of the word.
QString withUnit(const QString &number, double value, const QString &unit)
{
    return std::isfinite(value) ? number + unit : number;
}

} // namespace

QString ValueText(float value, const QString &unit, const QLocale &locale)
{
    return withUnit(UserFloatText(value, locale), value, unit);
}

QString SecondReadoutText(std::uint8_t mode, float value, const QString &unit)
{
    return withUnit(QString::fromStdString(SecondValueText(mode, value)), value, unit);
}

QString TimeText(double oleStamp, const QLocale &locale)
{
    const auto clock = OleClockTime(oleStamp);
    if (!clock)
        return QString();
    // The locale's long time format may carry a zone name; a meter stamp has none.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t')).replace(QLatin1String("  "), QLatin1String(" "));
    return locale.toString(clock->date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(clock->time(), timeFormat.trimmed());
}

QString MeanText(double mean, MeanPattern pattern, const QString &unit, const QLocale &locale)
{
    if (!std::isfinite(mean))
        return UserFloatText(float(mean), locale);
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text;
    if (pattern == MeanPattern::Loaded) {
        text = plain.toString(mean, 'f', 2);
    } else {
        text = plain.toString(mean, 'f', 3);
        // Drop trailing zeros down to one decimal.
        const int decimals = text.size() - text.lastIndexOf(plain.decimalPoint()) - 1;
        int drop = 0;
        while (drop < decimals - 1 && text.at(text.size() - 1 - drop) == plain.zeroDigit().at(0))
            ++drop;
        text.chop(drop);
    }
    return text + unit;
}

double TimeOfDay(double oleStamp)
{
    return std::fabs(oleStamp - std::trunc(oleStamp));
}
