#pragma once

// Numbers typed or stored by the user: the user's locale first (sign, decimal
// separator, exponent, surrounding blanks), then the C locale, so that a
// settings file written under another locale still loads.

#include <QLocale>
#include <QString>

#include <optional>

std::optional<double> ParseUserNumber(const QString &text, const QLocale &locale = QLocale());

// Whole numbers as the settings store reads them: a number, rounded halves to
// even, that fits the given range.
std::optional<qint64> ParseUserWholeNumber(const QString &text, qint64 minimum, qint64 maximum,
                                           const QLocale &locale = QLocale());

// True/False as the settings store writes them; numbers count as well (0 is False).
std::optional<bool> ParseUserBoolean(const QString &text, const QLocale &locale = QLocale());
// The words the settings store keeps a Boolean as: True or False.
QString UserBooleanText(bool value);

// The general text of a single float in the user's number format: at most seven
// significant digits, no trailing zeros ("100.5", "12,35" in a comma locale).
QString UserFloatText(float value, const QLocale &locale = QLocale());
