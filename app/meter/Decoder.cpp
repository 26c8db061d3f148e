#include "Decoder.h"

#include "NumberText.h"
#include "SampleTexts.h"

namespace {

bool bit(std::uint8_t byte, int n)
{
    return (byte >> n) & 1;
}

// Frame byte n (1-based, as the meter numbers them).
std::uint8_t byteAt(const MeterFrame &frame, int n)
{
    return frame[std::size_t(n - 1)];
}

} // namespace

std::string DecodeDigit(std::uint8_t cell)
{
    switch (cell) {
    case 0xED:
        return "0";
    case 0x60:
        return "1";
    case 0xA7:
        return "2";
    case 0xE3:
        return "3";
    case 0x6A:
        return "4";
    case 0xCB:
        return "5";
    case 0xCF:
        return "6";
    case 0xE0:
        return "7";
    case 0xEF:
        return "8";
    case 0xEB:
        return "9";
    case 0xFD:
        return "0.";
    case 0x70:
        return "1.";
    case 0xB7:
        return "2.";
    case 0xF3:
        return "3.";
    case 0x7A:
        return "4.";
    case 0xDB:
        return "5.";
    case 0xDF:
        return "6.";
    case 0xF0:
        return "7.";
    case 0xFF:
        return "8.";
    case 0xFB:
        return "9.";
    case 0x00:
        return " ";
    case 0x0D:
        return "L";
    default:
        return std::string();
    }
}

bool IsDamagedFrame(const MeterFrame &frame)
{
    // The two displays and the memory location's units digit: a dropped cell
    // would shift the others and give another number.
    for (int cell : {5, 6, 7, 8, 12, 13, 14, 15, 16}) {
        if (DecodeDigit(byteAt(frame, cell)).empty())
            return true;
    }
    const std::uint8_t b10 = byteAt(frame, 10), b11 = byteAt(frame, 11), b17 = byteAt(frame, 17);
    if (bit(b10, 4))
        return true; // byte 10, bit 4: unused
    if (bit(b11, 0))
        return true; // byte 11, bit 0: unused
    if (bit(b11, 3))
        return true; // byte 11, bit 3: unused
    if (b17 & 0xF7)
        return true; // byte 17: only bit 3 (the bar-graph arrow) is used
    return false;
}

bool DecodeHoldSymbol(const MeterFrame &frame)
{
    return bit(byteAt(frame, 9), 1); // byte 9, bit 1: HOLD
}

std::uint8_t DecodeMode(const MeterFrame &frame)
{
    return std::uint8_t((byteAt(frame, 10) & 0x0F) | (byteAt(frame, 11) & 0xF0));
}

bool HoldStopsFrame(const MeterFrame &frame)
{
    return DecodeHoldSymbol(frame) && !(DecodeMode(frame) & ModeBits::MemoryRecall);
}

float DisplayTextValue(const std::string &text)
{
    float value = 0;
    if (!ParseMeterNumber("0" + text, value))
        return 0;
    return value;
}

DecodedFrame DecodeFrame(const MeterFrame &frame)
{
    DecodedFrame out;
    DisplayElements &d = out.display;
    const std::uint8_t b3 = byteAt(frame, 3), b4 = byteAt(frame, 4), b9 = byteAt(frame, 9);
    const std::uint8_t b10 = byteAt(frame, 10), b11 = byteAt(frame, 11);
    out.secondUnitByte = b3;
    out.firstUnitByte = b4;
    out.symbolsByte = b9;

    d.P01[SymbolHold] = DecodeHoldSymbol(frame);

    d.L01[4] = SecondUnitName(b3);
    d.L01[3] = FirstUnitName(b4);

    d.P01[SymbolBattery] = bit(b4, 0);  // byte 4, bit 0: low battery
    d.P01[SymbolCircledP] = bit(b4, 4); // byte 4, bit 4: circled P

    d.P01[SymbolThreePhaseWatt] = bit(b9, 7); // byte 9, bit 7
    d.P01[SymbolWatt] = bit(b9, 6);           // byte 9, bit 6
    d.P01[SymbolPhase3] = bit(b9, 5);         // byte 9, bit 5
    d.P01[SymbolSum] = bit(b9, 4);            // byte 9, bit 4
    d.P01[SymbolPhase2] = bit(b9, 3);         // byte 9, bit 3
    d.P01[SymbolPhase1] = bit(b9, 2);         // byte 9, bit 2
    d.P01[SymbolHighVoltage] = bit(b9, 0);    // byte 9, bit 0

    // byte 10, bit 7: DC; bit 6: AC (AC wins when both are lit)
    d.L01[0].clear();
    if (bit(b10, 7))
        d.L01[0] = "DC";
    if (bit(b10, 6))
        d.L01[0] = "AC";

    d.L02 = bit(b10, 5); // byte 10, bit 5: first display minus
    d.L03 = bit(b10, 0); // byte 10, bit 0: second display minus

    out.Mode = DecodeMode(frame);
    const std::uint8_t mode = out.Mode;
    d.L01[1] = SecondFunctionText(mode);
    d.L01[2].clear();
    if (bit(mode, 4))
        d.L01[2] = "MR";
    if (bit(mode, 5))
        d.L01[2] = "MEM";

    // byte 11, bit 2: leading "1"; bit 1: leading "2"; byte 12: units digit
    std::string memory;
    if (bit(b11, 2))
        memory = "1";
    if (bit(b11, 1))
        memory = "2";
    memory += DecodeDigit(byteAt(frame, 12));
    out.memoryText = memory;

    // First display: byte 8 is the leftmost cell, byte 5 the rightmost.
    std::string first = DecodeDigit(byteAt(frame, 8)) + DecodeDigit(byteAt(frame, 7)) + DecodeDigit(byteAt(frame, 6)) +
                        DecodeDigit(byteAt(frame, 5));
    d.LCD1 = first;
    float firstValue = first == OverloadCells ? OverloadValue : DisplayTextValue(first);
    if (d.L02)
        firstValue = -firstValue;

    // Second display: byte 16 leftmost; byte 4 bit 5 lights the colon.
    std::string secondLeft = DecodeDigit(byteAt(frame, 16)) + DecodeDigit(byteAt(frame, 15));
    std::string secondRight = DecodeDigit(byteAt(frame, 14)) + DecodeDigit(byteAt(frame, 13));
    const bool colon = bit(b4, 5);
    std::string second = secondLeft + (colon ? ":" : "") + secondRight;
    d.LCD2 = second;
    d.LCD3 = memory;
    float secondValue = DisplayTextValue(secondLeft + secondRight);
    if (d.L03)
        secondValue = -secondValue;

    d.L41 = bit(byteAt(frame, 17), 3); // byte 17, bit 3: bar-graph arrow

    // Bytes 18..22 hold segments 40..1, the highest bit of each byte first.
    for (int byteNo = 18; byteNo <= 22; ++byteNo) {
        const std::uint8_t b = byteAt(frame, byteNo);
        const int lowest = (22 - byteNo) * 8 + 1;
        for (int n = 0; n < 8; ++n)
            d.L0[std::size_t(lowest + n)] = bit(b, n);
    }

    out.first = Reading{first, d.L02, firstValue, b4, d.L01[3], d.L01[0]};
    out.second = Reading{second, d.L03, secondValue, b3, d.L01[4], d.L01[1]};
    return out;
}
