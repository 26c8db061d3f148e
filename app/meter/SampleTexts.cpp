#include "SampleTexts.h"

#include "NumberText.h"

#include <cmath>

namespace {
bool bit(std::uint8_t byte, int n)
{
    return (byte >> n) & 1;
}

// A Time-mode value of up to four characters is minutes and seconds ("530" is
// 05:30); a longer text, or one that is no number, stays as it is.
bool readsAsTime(std::uint8_t mode, float value, const std::string &t)
{
    return (mode & ModeBits::Time) && std::isfinite(value) && t.size() <= 4;
}

std::string minutesAndSeconds(const std::string &t)
{
    switch (t.size()) {
    case 1:
        return "00:0" + t;
    case 2:
        return "00:" + t;
    case 3:
        return "0" + t.substr(0, 1) + ":" + t.substr(1);
    default:
        return t.substr(0, 2) + ":" + t.substr(2);
    }
}
} // namespace

std::string FirstUnitName(std::uint8_t b)
{
    std::string text;
    if (bit(b, 6))
        text = "kW";
    if (bit(b, 7))
        text = "kWh";
    if (bit(b, 3))
        text = "A";
    if (bit(b, 2))
        text = "V";
    if (bit(b, 1))
        text = "kVA";
    return text;
}

std::string SecondUnitName(std::uint8_t b)
{
    std::string text;
    if (bit(b, 7))
        text.clear();
    if (bit(b, 6))
        text = "min";
    if (bit(b, 5))
        text = "hmin";
    if (bit(b, 4))
        text = "Hz";
    if (bit(b, 2))
        text = "A";
    if (bit(b, 1))
        text = "V";
    if ((b & 0x07) == 0x07)
        text = "kVA";
    if (bit(b, 3))
        text = "kVAr";
    return text;
}

std::string SecondValueText(std::uint8_t mode, float secondValue)
{
    const std::string t = GeneralFloatText(secondValue);
    return readsAsTime(mode, secondValue, t) ? minutesAndSeconds(t) : t;
}

std::string SecondValueCsvText(std::uint8_t mode, float secondValue)
{
    const std::string t = GeneralFloatText(secondValue);
    return readsAsTime(mode, secondValue, t) ? minutesAndSeconds(t) : ShortestFloatText(secondValue);
}

std::string SecondFunctionText(std::uint8_t mode)
{
    std::string text;
    if (bit(mode, 1))
        text = "PF";
    if (bit(mode, 2))
        text = "FREQ";
    if (bit(mode, 3))
        text = "MAX";
    if (bit(mode, 6))
        text = "Time";
    if (bit(mode, 7))
        text = "MIN";
    return text;
}

std::string NoteText(std::uint8_t b)
{
    std::string text;
    if (bit(b, 7))
        text = "W3\u0424";
    if (bit(b, 6))
        text = "\u2211W";
    if (bit(b, 5))
        text = "\u04243";
    if (bit(b, 4))
        text = "\u2211W";
    if (bit(b, 3))
        text = "\u04242";
    if (bit(b, 2))
        text = "\u04241";
    return text;
}
