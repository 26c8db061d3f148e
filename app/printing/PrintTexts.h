#pragma once

// Texts the printed pages carry: numbers with the printer's leading blank,
// the date and time of printing and the clock time of a sample.

#include <QDateTime>
#include <QLocale>
#include <QString>

// A single-precision number as printed: its general text (at most seven
// significant digits, the locale's decimal separator) after one blank unless
// it is negative.
QString PrintedSingle(float value, const QLocale &locale = QLocale());
// The same for a double: up to fifteen significant digits.
QString PrintedDouble(double value, const QLocale &locale = QLocale());

// The general date-and-time text of the moment of printing.
QString PrintDateText(const QDateTime &printTime, const QLocale &locale = QLocale());

// The clock time of a stamp, "HH:MM:SS".
QString ClockText(double oleStamp);
