#pragma once

#include <array>
#include <cstdint>
#include <string>

// The 22 bytes of one meter frame in arrival order; byte n of the meter's
// documentation is element n - 1.
constexpr std::size_t MeterFrameSize = 22;
using MeterFrame = std::array<std::uint8_t, MeterFrameSize>;
constexpr std::uint8_t MeterSyncByte = 0x05;

inline bool HasSync(const MeterFrame &frame)
{
    return frame[0] == MeterSyncByte && frame[1] == MeterSyncByte;
}

// The value an over-range reading ("OL" on the first display) is kept as, in
// memory and in recordings, negated for "-OL".
constexpr float OverloadValue = 9999.0f;
// The first display's cells when the meter shows over-range.
constexpr const char OverloadCells[] = " 0L ";

// What one of the two numeric displays shows in one frame.
struct Reading {
    std::string Text;      // as shown on the LED: cells, points and the colon
    bool Negative = false; // the display's minus segment
    float Value = 0;       // 9999 for overload on the first display, negated when Negative
    std::uint8_t UnitCode = 0;
    std::string Unit;
    std::string Function;
};

// Indices of the ten symbol images, in the window's order.
enum MeterSymbol : int {
    SymbolHold = 0,
    SymbolHighVoltage = 1,
    SymbolPhase1 = 2,
    SymbolPhase2 = 3,
    SymbolPhase3 = 4,
    SymbolSum = 5,
    SymbolThreePhaseWatt = 6,
    SymbolCircledP = 7,
    SymbolBattery = 8,
    SymbolWatt = 9,
    SymbolCount = 10
};

constexpr int BarSegments = 40;

// Every display element a frame sets on the meter mirror.
struct DisplayElements {
    std::string LCD1;                       // first display
    std::string LCD2;                       // second display
    std::string LCD3;                       // memory location
    std::array<std::string, 5> L01;         // functions, memory state, units
    bool L02 = false;                       // first display minus bar
    bool L03 = false;                       // second display minus bar
    std::array<bool, SymbolCount> P01{};    // symbol images
    std::array<bool, BarSegments + 1> L0{}; // bar segments 1..40; element 0 unused
    bool L41 = false;                       // bar-graph arrow
};

struct DecodedFrame {
    DisplayElements display;
    Reading first;
    Reading second;
    std::uint8_t Mode = 0;
    std::string memoryText;
    std::uint8_t secondUnitByte = 0; // frame byte 3
    std::uint8_t firstUnitByte = 0;  // frame byte 4
    std::uint8_t symbolsByte = 0;    // frame byte 9
};
