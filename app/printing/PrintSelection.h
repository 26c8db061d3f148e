#pragma once

// What the print dialog is asked to print, and the vocabulary its printouts share.

#include <cstdint>
#include <functional>

enum class PrintWhat { FirstTrend, SecondTrend, Report };
enum class PrintRange { VisualArea, AllArea };

struct PrintSelection {
    PrintWhat what = PrintWhat::FirstTrend;
    PrintRange range = PrintRange::VisualArea;
};

// Samples first..last of the recording, both included.
struct SampleRange {
    std::int32_t first = 1;
    std::int32_t last = 1;

    bool operator==(const SampleRange &other) const { return first == other.first && last == other.last; }
};

// Told after each finished page how many are done; returning false stops the printout.
using PageProgress = std::function<bool(int pagesDone)>;
