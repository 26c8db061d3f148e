#pragma once

// Applies the persisted settings to the charts and the program-wide variables.
// Each setting is read on its own: a stored text that does not convert leaves
// its target as it was and the others still load. The x range and a manual
// interval outside the Options dialog's ranges load as the nearest value inside.

#include "ProgramState.h"
#include "SettingsStore.h"
#include "TrendChart.h"

void LoadStoredSettings(const SettingsStore &settings, ProgramState &state, TrendChart &chart1, TrendChart &chart2);
// The charts' part of it: scales, grids, colours and line width.
void LoadStoredChartSettings(const SettingsStore &settings, TrendChart &chart1, TrendChart &chart2);

// The stored port number; anything but a whole number from 1 to 4 means port 1.
std::int16_t LoadStoredPortNumber(const SettingsStore &settings);
void SaveStoredPortNumber(SettingsStore &settings, std::int16_t portNumber);
