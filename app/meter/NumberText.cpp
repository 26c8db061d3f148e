#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <algorithm>
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

std::string GeneralFloatText(float value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    std::string shortest = ShortestFloatText(value);
    int digits = 0;
    bool exponent = false;
    for (char c : shortest) {
        if (c == 'e')
            exponent = true;
        if (!exponent && c >= '0' && c <= '9')
            ++digits;
    }
    const double magnitude = std::fabs(double(value));
    const bool plainRange = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e7);
    if (digits <= 7 && !exponent && plainRange)
        return shortest;
    // Seven significant digits, trailing zeros removed; std::to_chars never
    // follows the C library's locale, so the decimal mark stays a point.
    char buffer[48];
    const auto format = plainRange ? std::chars_format::fixed : std::chars_format::scientific;
    const int precision = plainRange ? std::max(0, 6 - int(std::floor(std::log10(magnitude)))) : 6;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    std::string tail = e == std::string::npos ? std::string() : text.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0')
            mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (!tail.empty()) {
        // "1E+08", as the general number text writes exponents.
        const char sign = tail.size() > 1 ? tail[1] : '+';
        std::string expDigits = tail.substr(2);
        while (expDigits.size() > 2 && expDigits.front() == '0')
            expDigits.erase(expDigits.begin());
        tail = std::string("E") + sign + expDigits;
    }
    return mantissa + tail;
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
