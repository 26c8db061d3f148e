#pragma once

// The four ports of the port menu and the device each stands for.

#include "SettingsStore.h"

#include <QString>

#include <array>

constexpr int PortCount = 4;

// The device of port n (1..4): the path stored under "ComPort"/"COMn", or
// /dev/ttyUSB(n-1) when none is stored.
QString PortDevicePath(const SettingsStore &settings, int portNumber);

// Which of the ports 1..4 exist (DeviceExists of each port's device).
std::array<bool, PortCount> ProbePorts(const SettingsStore &settings);
