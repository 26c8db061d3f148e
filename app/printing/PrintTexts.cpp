#include "PrintTexts.h"

#include "DisplayTexts.h"
#include "NumberText.h"
#include "OleDate.h"
#include "UserNumber.h"

#include <OleClock.h>

#include <cmath>
#include <cstdio>

namespace {

QString withPrinterSign(const QString &text, bool negative)
{
    return negative ? text : QLatin1Char(' ') + text;
}

// The general text of a double: fifteen significant digits, trailing zeros
// dropped, an exponent ("1E+15", "1E-05") only for very large or small
// magnitudes; "---", "OL" or "-OL" for a value that is no finite number.
QString GeneralDoubleText(double value)
{
    if (!std::isfinite(value))
        return QString::fromStdString(NonFiniteText(value));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    const int e = text.indexOf(QLatin1Char('e'));
    QString mantissa = e < 0 ? text : text.left(e);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    if (e < 0)
        return mantissa;
    const QString exponent = text.mid(e + 1); // sign and at least two digits
    return mantissa + QLatin1Char('E') + exponent;
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
    QString text = GeneralDoubleText(value);
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
