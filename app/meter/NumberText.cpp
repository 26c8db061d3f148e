#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

std::string ShortestFloatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string GeneralFloatText(float value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
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
    // Seven significant digits, trailing zeros removed.
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, plainRange ? "%.7g" : "%.6E", double(value));
    std::string text(buffer);
    const auto e = text.find_first_of("eE");
    std::string mantissa = text.substr(0, e);
    std::string tail = e == std::string::npos ? std::string() : text.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0')
            mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (!tail.empty()) {
        // "E+08" rather than the C library's "E+08"/"E+008" variations.
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
