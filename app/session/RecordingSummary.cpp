#include "RecordingSummary.h"

#include <algorithm>

namespace {

constexpr std::size_t seriesSlot(SummarySeries series) { return std::size_t(series); }

} // namespace

double RecordingSummary::value(SummarySeries series, std::int32_t index) const
{
    const Sample &s = store_.Samples[std::size_t(index)];
    switch (series) {
    case SummarySeries::FirstValue:
        return s.FirstValue;
    case SummarySeries::SecondValue:
        return s.SecondValue;
    case SummarySeries::Seconds:
        return s.Seconds;
    case SummarySeries::FirstArea:
        break;
    }
    if (index <= 1)
        return 0;
    const Sample &before = store_.Samples[std::size_t(index - 1)];
    return (double(before.FirstValue) + double(s.FirstValue)) / 2 * (double(s.Seconds) - double(before.Seconds));
}

RecordingSummary::Node RecordingSummary::combine(const Node &a, const Node &b)
{
    Node n = a;
    // Strict comparisons: on ties the earlier sample stays.
    if (b.min < a.min) {
        n.min = b.min;
        n.minIndex = b.minIndex;
    }
    if (b.max > a.max) {
        n.max = b.max;
        n.maxIndex = b.maxIndex;
    }
    n.sum = a.sum + b.sum;
    return n;
}

RecordingSummary::Node RecordingSummary::leaf(SummarySeries series, std::int64_t block) const
{
    const auto first = std::int32_t(block * LeafSize + 1);
    const double v = value(series, first);
    Node n{first, first, v, v, v};
    for (std::int32_t i = first + 1; i < first + LeafSize; ++i) {
        const double w = value(series, i);
        n = combine(n, Node{i, i, w, w, w});
    }
    return n;
}

void RecordingSummary::rebuild()
{
    count_ = 0;
    for (Levels &levels : levels_)
        levels.clear();
    sync();
}

void RecordingSummary::sync()
{
    if (store_.SampleCount < count_) {
        rebuild();
        return;
    }
    while (count_ < store_.SampleCount && std::size_t(count_ + 1) < store_.Samples.size())
        appendOne();
}

void RecordingSummary::appendOne()
{
    ++count_;
    if (count_ % LeafSize != 0)
        return;
    // A block is full: its node goes in, and every pair completed by it is
    // carried up, which costs O(1) per sample on average.
    const std::int64_t block = count_ / LeafSize - 1;
    for (std::size_t s = 0; s < levels_.size(); ++s) {
        Levels &levels = levels_[s];
        Node node = leaf(SummarySeries(s), block);
        for (std::size_t level = 0;; ++level) {
            if (levels.size() <= level)
                levels.emplace_back();
            levels[level].push_back(node);
            const std::size_t size = levels[level].size();
            if (size % 2 != 0)
                break;
            node = combine(levels[level][size - 2], levels[level][size - 1]);
        }
    }
}

int RecordingSummary::largestNodeAt(std::int64_t p, std::int64_t end) const
{
    const Levels &levels = levels_[0];
    int best = -1;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        const std::int64_t size = LeafSize << level;
        if (p % size != 0 || p + size > end || std::size_t(p / size) >= levels[level].size())
            break;
        best = int(level);
    }
    return best;
}

RangeSummary RecordingSummary::range(SummarySeries series, std::int32_t first, std::int32_t last) const
{
    RangeSummary result;
    first = std::max(first, 1);
    last = std::min(last, count_);
    if (last < first)
        return result;
    const Levels &levels = levels_[seriesSlot(series)];
    bool started = false;
    Node total{};
    auto take = [&](const Node &n, std::int64_t count) {
        total = started ? combine(total, n) : n;
        started = true;
        result.count += std::int32_t(count);
    };
    std::int64_t p = first - 1;
    const std::int64_t end = last;
    while (p < end) {
        const int level = largestNodeAt(p, end);
        if (level >= 0) {
            const std::int64_t size = LeafSize << level;
            take(levels[std::size_t(level)][std::size_t(p / size)], size);
            p += size;
            continue;
        }
        const auto i = std::int32_t(p + 1);
        const double v = value(series, i);
        take(Node{i, i, v, v, v}, 1);
        ++p;
    }
    result.minIndex = total.minIndex;
    result.maxIndex = total.maxIndex;
    result.min = total.min;
    result.max = total.max;
    result.sum = total.sum;
    return result;
}

double RecordingSummary::firstArea(std::int32_t first, std::int32_t last) const
{
    if (last <= first)
        return 0;
    return range(SummarySeries::FirstArea, first + 1, last).sum;
}

std::int32_t RecordingSummary::firstRising(SummarySeries series, std::int32_t from,
                                           const std::function<bool(double)> &holds) const
{
    const Levels &levels = levels_[seriesSlot(series)];
    std::int64_t p = std::max(from, 1) - 1;
    const std::int64_t end = count_;
    while (p < end) {
        int level = largestNodeAt(p, end);
        if (level < 0) {
            if (holds(value(series, std::int32_t(p + 1))))
                return std::int32_t(p + 1);
            ++p;
            continue;
        }
        std::int64_t node = p / (LeafSize << level);
        if (!holds(levels[std::size_t(level)][std::size_t(node)].max)) {
            p += LeafSize << level;
            continue;
        }
        // The answer lies in this node: go down to its first block that holds it.
        while (level > 0) {
            --level;
            node *= 2;
            if (!holds(levels[std::size_t(level)][std::size_t(node)].max))
                ++node;
        }
        for (std::int64_t i = node * LeafSize + 1;; ++i) {
            if (holds(value(series, std::int32_t(i))))
                return std::int32_t(i);
        }
    }
    return 0;
}

std::int32_t RecordingSummary::lastFalling(SummarySeries series, std::int32_t to,
                                           const std::function<bool(double)> &holds) const
{
    const Levels &levels = levels_[seriesSlot(series)];
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
