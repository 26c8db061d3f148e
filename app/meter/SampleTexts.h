#pragma once

// Texts that turn the stored bytes of a sample back into what the meter showed.
// All texts are UTF-8.

#include <cstdint>
#include <string>

std::string FirstUnitName(std::uint8_t firstUnit);
std::string SecondUnitName(std::uint8_t secondUnit);
// The second display's value; in Time mode a value of up to four digits is
// shown as minutes and seconds ("05:30").
std::string SecondValueText(std::uint8_t mode, float secondValue);
// The same for CSV: minutes and seconds as above, any other value in the
// machine text of ShortestFloatText, as the other number columns are written.
std::string SecondValueCsvText(std::uint8_t mode, float secondValue);
std::string SecondFunctionText(std::uint8_t mode);
// Phase indicator of a Symbols2 byte: "Ф1", "Ф2", "Ф3", "∑W" or "W3Ф".
std::string NoteText(std::uint8_t symbols2);

// Bit masks of the byte fields, named for the meter's annunciators.
namespace UnitBits {
constexpr std::uint8_t LowBattery = 0x01;
constexpr std::uint8_t CircledP = 0x10;
constexpr std::uint8_t SecondColon = 0x20;
} // namespace UnitBits

namespace ModeBits {
constexpr std::uint8_t SecondMinus = 0x01;
constexpr std::uint8_t PowerFactor = 0x02;
constexpr std::uint8_t Frequency = 0x04;
constexpr std::uint8_t Max = 0x08;
constexpr std::uint8_t MemoryRecall = 0x10;
constexpr std::uint8_t MemoryStore = 0x20;
constexpr std::uint8_t Time = 0x40;
constexpr std::uint8_t Min = 0x80;
} // namespace ModeBits

namespace SymbolBits {
constexpr std::uint8_t HighVoltage = 0x01;
constexpr std::uint8_t Hold = 0x02;
constexpr std::uint8_t Phase1 = 0x04;
constexpr std::uint8_t Phase2 = 0x08;
constexpr std::uint8_t Sum = 0x10;
constexpr std::uint8_t Phase3 = 0x20;
constexpr std::uint8_t Watt = 0x40;
constexpr std::uint8_t ThreePhaseWatt = 0x80;
} // namespace SymbolBits
