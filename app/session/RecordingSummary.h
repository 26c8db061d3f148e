#pragma once

// Min/max/sum pyramids over the recording, so that a chart of millions of
// samples and the figures between two cursors cost O(log N), not O(N).
// Level 0 holds one node per block of LeafSize samples, each level above one
// node per pair of nodes below; the samples of a block not yet full, and the
// ends of a range that do not fill a block, are read from the store itself.

#include "SampleStore.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

// Where the smallest and the largest value of a range lie (the first of
// equal ones), without the count and sum that would need every sample at
// the ends of the range.
struct RangeExtremes {
    std::int32_t minIndex = 0;
    std::int32_t maxIndex = 0;
    double min = 0;
    double max = 0;
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
    // The extremes of samples first..last (limited to the summarised ones;
    // indices 0 when none). The samples at the ends of the range are read
    // only when their block's extremes could be those of the range, so a
    // chart asks this once per pixel column at a cost that hardly grows
    // with the length of the column.
    RangeExtremes extremes(SummarySeries series, std::int32_t first, std::int32_t last) const;

    // The first sample from `from` on whose value satisfies `holds`, a test
    // that once true for a value stays true for every larger one; 0 when none.
    template <typename Test>
    std::int32_t firstRising(SummarySeries series, std::int32_t from, Test holds) const;
    // The last sample up to `to` whose value satisfies `holds`, a test that
    // once true for a value stays true for every smaller one; 0 when none.
    template <typename Test>
    std::int32_t lastFalling(SummarySeries series, std::int32_t to, Test holds) const;

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

template <typename Test>
std::int32_t RecordingSummary::firstRising(SummarySeries series, std::int32_t from, Test holds) const
{
    const Levels &levels = levels_[std::size_t(series)];
    const std::int64_t start = std::max(from, 1);
    if (start > count_)
        return 0;
    auto scan = [&](std::int64_t a, std::int64_t b) -> std::int32_t {
        for (std::int64_t i = a; i <= b; ++i)
            if (holds(value(series, std::int32_t(i))))
                return std::int32_t(i);
        return 0;
    };
    const std::size_t complete = levels.empty() ? 0 : levels[0].size();
    // The rest of the block `start` lies in, unless its block says no sample holds.
    std::size_t node = std::size_t((start - 1) / LeafSize);
    if (node >= complete)
        return scan(start, count_);
    if (holds(levels[0][node].max)) {
        if (const std::int32_t found = scan(start, std::int64_t(node + 1) * LeafSize))
            return found;
    }
    // Then whole nodes, each as large as its place allows: up while the
    // node is the left one of a pair, on to the right neighbour while no
    // sample of a node holds, down into the first node where one does.
    ++node;
    std::size_t level = 0;
    for (;;) {
        if (node >= levels[level].size()) {
            if (level == 0)
                return scan(std::int64_t(node) * LeafSize + 1, count_);
            --level;
            node *= 2;
            continue;
        }
        if (node % 2 == 0 && level + 1 < levels.size() && node / 2 < levels[level + 1].size()) {
            ++level;
            node /= 2;
            continue;
        }
        if (!holds(levels[level][node].max)) {
            ++node;
            continue;
        }
        while (level > 0) {
            --level;
            node *= 2;
            if (!holds(levels[level][node].max))
                ++node;
        }
        return scan(std::int64_t(node) * LeafSize + 1, std::int64_t(node + 1) * LeafSize);
    }
}

template <typename Test>
std::int32_t RecordingSummary::lastFalling(SummarySeries series, std::int32_t to, Test holds) const
{
    const Levels &levels = levels_[std::size_t(series)];
    std::int64_t p = std::min(to, count_); // samples 1..p are still to be looked at
    while (p > 0) {
        // The highest node that ends exactly at sample p.
        int level = -1;
        for (std::size_t l = 0; l < levels.size(); ++l) {
            const std::int64_t size = LeafSize << l;
            if (p % size != 0 || std::size_t(p / size) > levels[l].size())
                break;
            level = int(l);
        }
        if (level < 0) {
            if (holds(value(series, std::int32_t(p))))
                return std::int32_t(p);
            --p;
            continue;
        }
        std::int64_t node = p / (LeafSize << level) - 1;
        if (!holds(levels[std::size_t(level)][std::size_t(node)].min)) {
            p -= LeafSize << level;
            continue;
        }
        while (level > 0) {
            --level;
            node = node * 2 + 1;
            if (!holds(levels[std::size_t(level)][std::size_t(node)].min))
                --node;
        }
        for (std::int64_t i = (node + 1) * LeafSize;; --i) {
            if (holds(value(series, std::int32_t(i))))
                return std::int32_t(i);
        }
    }
    return 0;
}
