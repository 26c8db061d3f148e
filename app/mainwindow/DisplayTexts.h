#pragma once

// Texts of the statistics labels, the read-outs and the chart time labels, in
// the user's locale.

#include <QLocale>
#include <QString>

// "100.5kW": the general text of the value followed by the unit name.
QString ValueText(float value, const QString &unit, const QLocale &locale = QLocale());

// The general date-and-time text of a stamp: short date and the time with seconds.
QString TimeText(double oleStamp, const QLocale &locale = QLocale());

enum class MeanPattern {
    Live,   // "###0.0##": one to three decimals
    Loaded, // "#0.00": exactly two decimals, after a recording was opened
};

// The mean in its pattern, followed by the unit name.
QString MeanText(double mean, MeanPattern pattern, const QString &unit, const QLocale &locale = QLocale());

// The time of day of a stamp with the date part dropped, as the charts' time labels take it.
double TimeOfDay(double oleStamp);
