#pragma once

// Texts of the chart's scale and time labels.

#include <QLocale>
#include <QString>

#include <optional>

namespace Sweepgraph {

// A scale value with at most `decimals` decimals, no trailing zeros, no
// leading blank, no digit grouping and the locale's decimal separator.
QString ScaleValueText(double value, const QLocale &locale, int decimals = 2);

// The decimals that tell apart scale labels `step` apart: two significant
// digits of the step, none below the units.
int ScaleDecimalsForStep(double step);

// The general date/time text of an OLE Automation date (days since
// 1899-12-30, the fraction the time of day): the short date and the long time
// of the locale, the time cut to the whole second as a clock shows it (never
// rounded up), the date left out when its day number is zero and the time
// left out at midnight. Nothing when the value is not a date.
std::optional<QString> GeneralDateTimeText(double oleDate, const QLocale &locale);

} // namespace Sweepgraph
