#pragma once

// Time stamps of samples: OLE Automation dates, the day count since
// 1899-12-30 00:00 of the local calendar with the time of day as fraction.
// Before that day the whole part counts backwards but the fraction still
// counts forwards from midnight (-1.25 is 1899-12-29 06:00).
// Stamps are wall-clock times; they carry no zone and are read back as local.
// OleClock.h splits them into day and time of day; the texts shown to the
// user take the time from OleClockTime there.

#include <OleClock.h>

#include <QDateTime>

#include <string>

// The local date and time of a stamp, to the millisecond; invalid for NaN,
// infinities and stamps outside the years 100 to 9999.
QDateTime OleDateToLocal(double oleDate);

// The stamp of a date and time, taken as local wall-clock time; NaN when invalid.
double LocalToOleDate(const QDateTime &dateTime);

// ISO 8601 local date and time with milliseconds and no zone,
// "2002-06-07T10:37:00.000"; empty when the stamp has no valid date.
std::string OleDateIsoText(double oleDate);
