#pragma once

// What the Options dialog edits, without the dialog: the texts of its boxes and
// combos and the colours of its swatches, the rules a box's text must meet when
// the user leaves it, and what OK stores and applies.

#include "ProgramState.h"
#include "SettingsStore.h"
#include "TrendChart.h"

#include <OleColor.h>

#include <QString>

#include <optional>

// The six colour swatches, named after them.
struct SwatchColors {
    OleColor FTBkColor = 0;
    OleColor STBkColor = 0;
    OleColor FTForeColor = 0;
    OleColor STForeColor = 0;
    OleColor FTGridColor = 0;
    OleColor STGridColor = 0;
};

// "Default Color": the colours a first run starts with.
SwatchColors DefaultSwatchColors();

// The dialog's contents, each field named after its control. Texts are kept as
// typed: OK stores them so, even when they do not convert.
struct OptionTexts {
    QString txtInterValue1;
    QString txtYMax1;
    QString txtYMin1;
    QString txtYMax2;
    QString txtYMin2;
    QString txtXMax;
    QString FirstCol;
    QString FirstRow;
    QString SecondCol;
    QString SecondRow;
    QString LineWidth;
    SwatchColors colors;
    bool DiscardDamaged = true;
};

// What the dialog shows when it opens: the charts' and the program's current values.
OptionTexts CurrentOptionTexts(const ProgramState &state, const TrendChart &chart1, const TrendChart &chart2);

// The rule a text box is checked by when the user leaves it.
enum class NumberBox {
    InterValue, // a number v with 0 < v < 600
    XMax,       // a number v with 5 <= v < 300
    YBound,     // any number, or a sign alone
    AlarmLimit, // any number, or empty for no limit
    Hysteresis, // a number v with 0 <= v < 10000, or empty for 0
};

// The message to show when the text breaks the box's rule, else nothing.
std::optional<QString> CheckNumberBox(NumberBox box, const QString &text);

// OK: stores the 20 settings as shown, applies them to the charts and the
// program-wide variables the way start-up does (a text that does not convert
// leaves its target as it was), recomputes the sampling interval and refreshes
// both charts.
void CommitOptions(const OptionTexts &texts, ProgramState &state, SettingsStore &settings, TrendChart &chart1,
                   TrendChart &chart2);
