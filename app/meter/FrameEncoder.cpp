#include "FrameEncoder.h"

#include <vector>

namespace {

// Splits a display text into cell bytes, leftmost first.
std::vector<std::uint8_t> encodeCells(const std::string &text)
{
    std::vector<std::uint8_t> cells;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' || c == ':')
            continue;
        const bool point = i + 1 < text.size() && text[i + 1] == '.';
        cells.push_back(EncodeDigit(c, point));
    }
    return cells;
}

// The last four cells, padded with blanks on the left.
std::vector<std::uint8_t> fourCells(const std::string &text)
{
    std::vector<std::uint8_t> cells = encodeCells(text);
    while (cells.size() < 4)
        cells.insert(cells.begin(), 0x00);
    return std::vector<std::uint8_t>(cells.end() - 4, cells.end());
}

} // namespace

std::uint8_t EncodeDigit(char digit, bool point)
{
    static const std::uint8_t digits[10] = {0xED, 0x60, 0xA7, 0xE3, 0x6A, 0xCB, 0xCF, 0xE0, 0xEF, 0xEB};
    if (digit >= '0' && digit <= '9')
        return std::uint8_t(digits[digit - '0'] | (point ? 0x10 : 0x00));
    if (digit == 'L')
        return 0x0D;
    return 0x00;
}

std::uint64_t BarUpTo(int count)
{
    if (count <= 0)
        return 0;
    if (count >= 40)
        return (std::uint64_t(1) << 40) - 1;
    return (std::uint64_t(1) << count) - 1;
}

MeterFrame EncodeFrame(const FrameContent &c)
{
    MeterFrame f{};
    auto at = [&f](int n) -> std::uint8_t & { return f[std::size_t(n - 1)]; };
    at(1) = MeterSyncByte;
    at(2) = MeterSyncByte;
    at(3) = c.secondUnitByte;
    const bool colon = c.secondText.find(':') != std::string::npos;
    at(4) = std::uint8_t((c.firstUnitByte & ~0x20) | (colon ? 0x20 : 0x00));

    const auto first = fourCells(c.firstText);
    at(8) = first[0];
    at(7) = first[1];
    at(6) = first[2];
    at(5) = first[3];

    at(9) = c.symbols;
    at(10) = std::uint8_t((c.dc ? 0x80 : 0) | (c.ac ? 0x40 : 0) | (c.firstNegative ? 0x20 : 0) | (c.mode & 0x0E) |
                          (c.secondNegative ? 0x01 : 0));

    std::uint8_t b11 = c.mode & 0xF0;
    std::string memory = c.memoryText;
    if (memory.size() >= 2 && (memory[0] == '1' || memory[0] == '2')) {
        b11 |= memory[0] == '1' ? 0x04 : 0x02;
        memory.erase(0, 1);
    }
    at(11) = b11;
    // No memory location is a dark cell, as the meter sends it.
    at(12) = memory.empty() ? 0x00 : EncodeDigit(memory[0], false);

    const auto second = fourCells(c.secondText);
    at(16) = second[0];
    at(15) = second[1];
    at(14) = second[2];
    at(13) = second[3];

    at(17) = c.arrow ? 0x08 : 0x00;
    for (int byteNo = 18; byteNo <= 22; ++byteNo) {
        const int lowest = (22 - byteNo) * 8; // bit index of the byte's segment at bit 0
        at(byteNo) = std::uint8_t((c.bar >> lowest) & 0xFF);
    }
    return f;
}
