#pragma once

// The number ranges the Options dialog accepts, in one place: the dialog checks
// its boxes against them and the settings load keeps hand-edited values inside.

struct SettingRange {
    double lowest;
    bool lowestIncluded;
    double highest;
    bool highestIncluded;

    // Also as the single float the value is kept in: a text just inside a
    // bound must not round onto it.
    bool contains(double value) const;
    // A finite value itself when the range takes it; else the bound it crossed, or,
    // for a bound the range leaves out, the nearest whole number inside (the
    // charts keep their x range as a whole number).
    float nearest(float value) const;
};

// "X:" of the Options dialog, the x range of both charts: 5 <= v < 300.
constexpr SettingRange XMaxRange{5, true, 300, false};
// The manual sampling interval in seconds: 0 < v < 600.
constexpr SettingRange InterValueRange{0, false, 600, false};
// The hysteresis of the limit alarms, in the display's unit: 0 <= v < 10000
// (the meter shows four digits).
constexpr SettingRange HysteresisRange{0, true, 10000, false};
