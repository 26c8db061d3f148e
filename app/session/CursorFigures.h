#pragma once

// What the measurement cursors A and B show for each display: the values at
// A and B, their difference, the time between them, the minimum, maximum and
// mean of the samples from A to B and, where the first display reads power or
// current, the energy or charge between them.

#include "RecordingSummary.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct DisplayFigures {
    double atA = 0;
    double atB = 0;
    double delta = 0; // at B minus at A
    double min = 0;
    double max = 0;
    double mean = 0;
};

// The integral of the first display over time, in its unit times hours.
enum class AreaUnit { None, KilowattHours, AmpereHours };

struct CursorFigures {
    std::int32_t a = 0;
    std::int32_t b = 0;
    double deltaSeconds = 0; // tick seconds at B minus at A
    DisplayFigures first;
    DisplayFigures second;
    AreaUnit areaUnit = AreaUnit::None;
    double area = 0; // kWh or Ah between the earlier and the later cursor
};

// kW integrates to kWh and A to Ah; other units have no such figure.
AreaUnit AreaUnitOf(const std::string &firstUnitName);
const char *AreaUnitName(AreaUnit unit);

// The figures between samples a and b (in either order) of the summarised
// recording. The unit of the first display is that of the earlier cursor.
CursorFigures MeasureBetween(const RecordingSummary &summary, const SampleStore &store, std::int32_t a, std::int32_t b);

// "45 s", "1:30:00", "2 d 03:00:00": a time span in the user's locale.
QString DurationText(double seconds, const QLocale &locale = QLocale());

// The figures as the cursor table shows them: a caption, then the first and
// the second display's text (empty where a figure is not per display).
using FiguresRow = std::array<QString, 3>;
std::vector<FiguresRow> FiguresRows(const CursorFigures &figures, const QString &firstUnit, const QString &secondUnit,
                                    const QLocale &locale = QLocale());
