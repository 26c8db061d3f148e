#pragma once

// The "Limit alarms" group of the Options dialog without the dialog: what it
// shows, the check OK makes of the limits together, and what OK stores. The
// settings load (StartupSettings) turns the stored texts into the limits the
// charts draw and the window checks.

#include "ProgramState.h"
#include "SettingsStore.h"

#include <QString>

#include <optional>

// The boxes' texts, each named after its box; an empty limit is none.
struct AlarmOptionTexts {
    QString High1;
    QString Low1;
    QString High2;
    QString Low2;
    QString Hysteresis;
    bool Sound = false;
};

// The limits in force, in the user's number format.
AlarmOptionTexts CurrentAlarmOptions(const AlarmSettings &alarms);

// A low limit that is not below the high limit of the same display.
struct AlarmLimitsProblem {
    QString message;
    int display = 1; // 1 or 2: whose low limit box to go back to
};
std::optional<AlarmLimitsProblem> CheckAlarmLimits(const AlarmOptionTexts &texts);

// Stores the texts as typed, without surrounding blanks.
void StoreAlarmOptions(const AlarmOptionTexts &texts, SettingsStore &settings);
