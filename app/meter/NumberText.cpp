#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

std::string ShortestFloatText(float value)
{
    // std::to_chars writes "-nan" for a NaN with its sign bit set.
    if (std::isnan(value))
        return "nan";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string NonFiniteText(double value)
{
    if (std::isnan(value))
        return "---";
    if (std::isinf(value))
        return value < 0 ? "-OL" : "OL";
    return std::string();
}

std::string GeneralNumberText(double value, int significantDigits)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    // std::to_chars never follows the C library's locale, so the decimal mark
    // stays a point. The exponent after rounding decides the form, as for %g.
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significantDigits - 1);
    std::string text(buffer, result.ptr);
    const int exponent = std::atoi(text.c_str() + text.find('e') + 1);
    if (exponent >= -4 && exponent < significantDigits) {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                               significantDigits - 1 - exponent);
        text.assign(buffer, result.ptr);
    }
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (e == std::string::npos)
        return mantissa;
    // "1E+08": the sign and at least two digits.
    std::string digits = text.substr(e + 2);
    while (digits.size() > 2 && digits.front() == '0')
        digits.erase(digits.begin());
    return mantissa + 'E' + text[e + 1] + digits;
}

std::string GeneralFloatText(float value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    std::string shortest = ShortestFloatText(value);
    const bool plainDigits =
        shortest.find('e') == std::string::npos &&
        std::count_if(shortest.begin(), shortest.end(), [](char c) { return c >= '0' && c <= '9'; }) <= 7;
    const double magnitude = std::fabs(double(value));
    const bool plainRange = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e7);
    if (plainDigits && plainRange)
        return shortest;
    return GeneralNumberText(value, 7);
}

std::int64_t RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::nearbyint(value));
}

float RoundToTwoDecimals(double value)
{
    if (!std::isfinite(value))
        return static_cast<float>(value);
    return static_cast<float>(std::nearbyint(value * 100.0) / 100.0);
}

bool ParseMeterNumber(const std::string &text, float &value)
{
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    if (end == 0 || text[0] < '0' || text[0] > '9')
        return false;
    bool point = false;
    for (std::size_t i = 0; i < end; ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point)
                return false;
            point = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    float parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + end, parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + end)
        return false;
    value = parsed;
    return true;
}
