#include "UserNumber.h"

#include "NumberText.h"

#include <cmath>

std::optional<double> ParseUserNumber(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    // Digit grouping is not a number for this program ("1,5" must not read as 15).
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    double value = strict.toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> ParseUserWholeNumber(const QString &text, qint64 minimum, qint64 maximum, const QLocale &locale)
{
    const auto number = ParseUserNumber(text, locale);
    if (!number || *number < double(minimum) - 0.5 || *number > double(maximum) + 0.5)
        return std::nullopt;
    const qint64 whole = RoundHalfEven(*number);
    if (whole < minimum || whole > maximum)
        return std::nullopt;
    return whole;
}

std::optional<bool> ParseUserBoolean(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto number = ParseUserNumber(trimmed, locale))
        return *number != 0;
    return std::nullopt;
}

QString UserBooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString UserFloatText(float value, const QLocale &locale)
{
    QString text = QString::fromStdString(GeneralFloatText(value));
    if (locale.decimalPoint() != QLatin1String("."))
        text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (locale.negativeSign() != QLatin1String("-"))
        text.replace(QLatin1Char('-'), locale.negativeSign());
    return text;
}
