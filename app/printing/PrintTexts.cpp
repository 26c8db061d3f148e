#include "PrintTexts.h"

#include "DisplayTexts.h"
#include "NumberText.h"
#include "OleDate.h"
#include "UserNumber.h"

#include <OleClock.h>

#include <cmath>

namespace {

QString withPrinterSign(const QString &text, bool negative)
{
    return negative ? text : QLatin1Char(' ') + text;
}

} // namespace

QString PrintedSingle(float value, const QLocale &locale)
{
    if (value == 0)
        value = 0; // a negative zero prints as zero
    return withPrinterSign(UserFloatText(value, locale), value < 0);
}

QString PrintedDouble(double value, const QLocale &locale)
{
    if (value == 0)
        value = 0;
    QString text = QString::fromStdString(GeneralNumberText(value, 15));
    if (locale.decimalPoint() != QLatin1String("."))
        text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (locale.negativeSign() != QLatin1String("-"))
        text.replace(QLatin1Char('-'), locale.negativeSign());
    return withPrinterSign(text, value < 0);
}

QString PrintDateText(const QDateTime &printTime, const QLocale &locale)
{
    return TimeText(LocalToOleDate(printTime), locale);
}

QString ClockText(double oleStamp)
{
    const auto clock = OleClockTime(oleStamp);
    return clock ? clock->time().toString(QStringLiteral("HH:mm:ss")) : QString();
}
