#pragma once

// Texts of the chart's scale and time labels.

#include <QLocale>
#include <QString>

#include <optional>

namespace Sweepgraph {

// A scale value with at most two decimals, no trailing zeros, no leading
// blank, no digit grouping and the locale's decimal separator.
QString ScaleValueText(double value, const QLocale &locale);

// The general date/time text of an OLE Automation date (days since
// 1899-12-30, the fraction the time of day): the short date and the long time
// of the locale, the time cut to the whole second as a clock shows it (never
// rounded up), the date left out when its day number is zero and the time
// left out at midnight. Nothing when the value is not a date.
std::optional<QString> GeneralDateTimeText(double oleDate, const QLocale &locale);

} // namespace Sweepgraph
