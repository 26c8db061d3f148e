#pragma once

// Texts of the statistics labels, the read-outs and the chart time labels, in
// the user's locale.

#include <QLocale>
#include <QString>

#include <cstdint>

// "100.5kW": the general text of the value followed by the unit name. A value
// that is no finite number reads "---", "OL" or "-OL", without the unit.
QString ValueText(float value, const QString &unit, const QLocale &locale = QLocale());

// The second display's read-out: SecondValueText followed by the unit name
// ("05:30min", "230.1V"), and like ValueText for a value that is no finite number.
QString SecondReadoutText(std::uint8_t mode, float value, const QString &unit);

// The general date-and-time text of a stamp: short date and the time with seconds.
QString TimeText(double oleStamp, const QLocale &locale = QLocale());

enum class MeanPattern {
    Live,   // "###0.0##": one to three decimals
    Loaded, // "#0.00": exactly two decimals, after a recording was opened
};

// The mean in its pattern, followed by the unit name; like ValueText for a
// mean that is no finite number.
QString MeanText(double mean, MeanPattern pattern, const QString &unit, const QLocale &locale = QLocale());

// The time of day of a stamp with the date part dropped, as the charts' time labels take it.
double TimeOfDay(double oleStamp);
