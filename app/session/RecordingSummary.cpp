#include "RecordingSummary.h"

#include <algorithm>

namespace {

constexpr std::size_t seriesSlot(SummarySeries series)
{
    return std::size_t(series);
}

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

RangeExtremes RecordingSummary::extremes(SummarySeries series, std::int32_t first, std::int32_t last) const
{
    RangeExtremes result;
    first = std::max(first, 1);
    last = std::min(last, count_);
    if (last < first)
        return result;
    const Levels &levels = levels_[seriesSlot(series)];
    // Ties go to the earlier sample, whatever order the parts come in.
    bool started = false;
    auto takeMin = [&](double v, std::int32_t i) {
        if (!started || v < result.min || (v == result.min && i < result.minIndex)) {
            result.min = v;
            result.minIndex = i;
        }
    };
    auto takeMax = [&](double v, std::int32_t i) {
        if (!started || v > result.max || (v == result.max && i < result.maxIndex)) {
            result.max = v;
            result.maxIndex = i;
        }
    };
    auto takeNode = [&](const Node &n) {
        takeMin(n.min, n.minIndex);
        takeMax(n.max, n.maxIndex);
        started = true;
    };
    auto scan = [&](std::int32_t a, std::int32_t b) {
        for (std::int32_t i = a; i <= b; ++i) {
            const double v = value(series, i);
            takeMin(v, i);
            takeMax(v, i);
            started = true;
        }
    };
    const std::int64_t complete = levels.empty() ? 0 : std::int64_t(levels[0].size());
    const std::int64_t firstBlock = (first - 1) / LeafSize;
    const std::int64_t lastBlock = (last - 1) / LeafSize;
    if (firstBlock == lastBlock) {
        scan(first, last);
        return result;
    }
    // The whole blocks between the two ends, as few nodes as cover them.
    std::int64_t lo = firstBlock + 1;
    std::int64_t hi = lastBlock - 1;
    for (std::size_t level = 0; lo <= hi; ++level, lo /= 2, hi /= 2) {
        if (lo % 2 != 0)
            takeNode(levels[level][std::size_t(lo++)]);
        if (hi % 2 == 0 && lo <= hi)
            takeNode(levels[level][std::size_t(hi--)]);
        if (lo > hi)
            break;
    }
    // An end block whose own extremes lie inside the range gives them
    // as they are; one whose extremes lie outside it is read only when the
    // part inside could still hold a new extreme.
    auto end = [&](std::int64_t block, std::int32_t a, std::int32_t b, bool before) {
        if (block >= complete) {
            scan(a, b);
            return;
        }
        const Node &n = levels[0][std::size_t(block)];
        const bool minInside = n.minIndex >= a && n.minIndex <= b;
        const bool maxInside = n.maxIndex >= a && n.maxIndex <= b;
        // The part's extremes are no better than the block's; an equal
        // value counts only before what was found.
        const bool minMatters = !minInside && (!started || n.min < result.min || (before && n.min == result.min));
        const bool maxMatters = !maxInside && (!started || n.max > result.max || (before && n.max == result.max));
        // Where the part holds the block's extreme value, the first sample
        // equal to it is the part's extreme and ends the search for it.
        double partMin = 0, partMax = 0;
        std::int32_t partMinIndex = 0, partMaxIndex = 0;
        bool minFound = !minMatters, maxFound = !maxMatters;
        for (std::int32_t i = a; i <= b && !(minFound && maxFound); ++i) {
            const double v = value(series, i);
            if (!minFound && (partMinIndex == 0 || v < partMin)) {
                partMin = v;
                partMinIndex = i;
                minFound = v == n.min;
            }
            if (!maxFound && (partMaxIndex == 0 || v > partMax)) {
                partMax = v;
                partMaxIndex = i;
                maxFound = v == n.max;
            }
        }
        if (minMatters)
            takeMin(partMin, partMinIndex);
        else if (minInside)
            takeMin(n.min, n.minIndex);
        if (maxMatters)
            takeMax(partMax, partMaxIndex);
        else if (maxInside)
            takeMax(n.max, n.maxIndex);
        started = true;
    };
    end(firstBlock, first, std::int32_t((firstBlock + 1) * LeafSize), true);
    end(lastBlock, std::int32_t(lastBlock * LeafSize + 1), last, false);
    return result;
}
