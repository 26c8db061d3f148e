#pragma once

// Min/max/sum pyramids over the recording, so that a chart of millions of
// samples and the figures between two cursors cost O(log N), not O(N).
// Level 0 holds one node per block of LeafSize samples, each level above one
// node per pair of nodes below; the samples of a block not yet full, and the
// ends of a range that do not fill a block, are read from the store itself.

#include "SampleStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// What a summary keeps per sample: the two readings, the tick seconds, and
// the trapezoid of the first display between a sample and the one before it
// (value x seconds; 0 for sample 1).
enum class SummarySeries { FirstValue, SecondValue, Seconds, FirstArea };

struct RangeSummary {
    std::int32_t count = 0;
    std::int32_t minIndex = 0; // the first sample with the smallest value
    std::int32_t maxIndex = 0; // the first sample with the largest value
    double min = 0;
    double max = 0;
    double sum = 0;

    double mean() const { return count > 0 ? sum / count : 0; }
};

class RecordingSummary {
public:
    static constexpr std::int64_t LeafSize = 64;

    explicit RecordingSummary(const SampleStore &store) : store_(store) {}

    // Summarises samples 1..SampleCount anew (after New, Open or a recovery).
    void rebuild();
    // Takes in the samples appended since the last call; rebuilds when the
    // recording got shorter.
    void sync();
    std::int32_t count() const { return count_; }

    // Samples first..last, both included, limited to the summarised ones.
    RangeSummary range(SummarySeries series, std::int32_t first, std::int32_t last) const;
    // The area under the first display between samples first and last by the
    // trapezoid rule over the tick seconds (value x seconds).
    double firstArea(std::int32_t first, std::int32_t last) const;

    // The first sample from `from` on whose value satisfies `holds`, a test
    // that once true for a value stays true for every larger one; 0 when none.
    std::int32_t firstRising(SummarySeries series, std::int32_t from, const std::function<bool(double)> &holds) const;
    // The last sample up to `to` whose value satisfies `holds`, a test that
    // once true for a value stays true for every smaller one; 0 when none.
    std::int32_t lastFalling(SummarySeries series, std::int32_t to, const std::function<bool(double)> &holds) const;

    double value(SummarySeries series, std::int32_t index) const;

private:
    struct Node {
        std::int32_t minIndex;
        std::int32_t maxIndex;
        double min;
        double max;
        double sum;
    };
    using Levels = std::vector<std::vector<Node>>;

    void appendOne();
    Node leaf(SummarySeries series, std::int64_t block) const;
    static Node combine(const Node &a, const Node &b);
    // The highest level whose node starts at sample offset p (0-based) and
    // ends at or before `end`; -1 when no node does.
    int largestNodeAt(std::int64_t p, std::int64_t end) const;

    const SampleStore &store_;
    std::int32_t count_ = 0;
    std::array<Levels, 4> levels_{};
};
