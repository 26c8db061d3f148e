#pragma once

// Meter frames for the tests: a reading on the first display over 230.1 V on
// the second, as the encoder builds it, and frames written out in hex.

#include "FrameEncoder.h"
#include "MeterFrame.h"

#include <cstdint>
#include <string>
#include <vector>

// FirstUnit bits of the readings (frame byte 4).
constexpr std::uint8_t UnitA = 0x08;
constexpr std::uint8_t UnitV = 0x04;
constexpr std::uint8_t UnitKW = 0x40;
// SecondUnit bit of volts (frame byte 3).
constexpr std::uint8_t SecondV = 0x02;

enum class Coupling { None, Ac };

// `first` on the first display in `unit`, 230.1 V on the second.
FrameContent ReadingContent(const std::string &first, std::uint8_t unit = UnitA, Coupling coupling = Coupling::None);
MeterFrame ReadingFrame(const std::string &first, std::uint8_t unit = UnitA, Coupling coupling = Coupling::None);

// Bytes written as hex digits; blanks between them are allowed.
std::vector<std::uint8_t> BytesFromHex(const char *hex);
// A whole frame written as hex digits; a test fails on any other length.
MeterFrame FrameFromHex(const char *hex);
