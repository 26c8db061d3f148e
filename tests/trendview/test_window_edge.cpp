#include "WindowEdge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

SampleStore storeWithSeconds(const std::vector<float> &seconds)
{
    SampleStore store;
    for (float s : seconds) {
        Sample sample;
        sample.Seconds = s;
        store.AppendSample(sample);
    }
    return store;
}

// `count` samples, `apart` seconds from one to the next.
SampleStore spaced(int count, float apart)
{
    std::vector<float> seconds;
    for (int i = 0; i < count; ++i)
        seconds.push_back(float(i) * apart);
    return storeWithSeconds(seconds);
}

struct EdgeCase {
    const char *name;
    int from;
    EdgeDirection direction;
    double width;
    bool timeMode;
    WidthEnd widthEnd;
    int edge;
};

constexpr auto Forward = EdgeDirection::Forward;
constexpr auto Backward = EdgeDirection::Backward;
constexpr auto Included = WidthEnd::Included;
constexpr auto Excluded = WidthEnd::Excluded;

} // namespace

TEST(WindowEdge, SampleMode)
{
    const SampleStore store = spaced(250, 1);
    const EdgeCase cases[] = {
        {"first page: a chart width on", 1, Forward, 100, false, Included, 101},
        {"a sample exactly a width on is left out", 1, Forward, 100, false, Excluded, 100},
        {"last partial page ends at the last sample", 201, Forward, 100, false, Included, 250},
        {"from the last sample", 250, Forward, 100, false, Included, 250},
        {"a fractional width ends at the last sample within it", 10, Forward, 30.5, false, Included, 40},
        {"... and so when a sample exactly a width away is left out", 10, Forward, 30.5, false, Excluded, 40},
        {"a width below one sample holds only the anchor", 7, Forward, 0.5, false, Included, 7},
        {"a zero width holds only the anchor", 7, Forward, 0, false, Excluded, 7},
        {"a negative width holds only the anchor", 7, Backward, -5, false, Included, 7},
        {"backward a chart width", 250, Backward, 100, false, Included, 150},
        {"backward, the sample a width back is left out", 250, Backward, 100, false, Excluded, 151},
        {"backward runs out at the first sample", 50, Backward, 100, false, Included, 1},
        {"a width beyond any recording", 3, Forward, 1e30, false, Included, 250},
        {"a width that is no number has no sample beyond it", 3, Backward, std::nan(""), false, Included, 1},
    };
    for (const EdgeCase &c : cases)
        EXPECT_EQ(WindowEdge(store, c.from, c.direction, c.width, c.timeMode, c.widthEnd), c.edge) << c.name;
}

TEST(WindowEdge, TimeMode)
{
    // 2 s apart: sample i is at 2 (i - 1) seconds.
    const SampleStore store = spaced(100, 2);
    const SampleStore gap = storeWithSeconds({0, 1000, 1001, 1002, 5000});
    struct GapCase {
        const SampleStore &store;
        EdgeCase edge;
    };
    const GapCase cases[] = {
        {store, {"first page: the sample 30 s on is in", 1, Forward, 30, true, Included, 16}},
        {store, {"the sample 30 s on is left out", 1, Forward, 30, true, Excluded, 15}},
        {store, {"seconds between the samples count, not samples", 1, Forward, 31, true, Included, 16}},
        {store, {"backward from the newest", 100, Backward, 27, true, Included, 87}},
        {store, {"backward, the sample exactly 30 s older is left out", 100, Backward, 30, true, Excluded, 86}},
        {store, {"last partial page", 90, Forward, 30, true, Included, 100}},
        {store, {"a zero width keeps the anchor", 100, Backward, 0, true, Excluded, 100}},
        {gap, {"a gap wider than the chart ends the window at the anchor", 1, Forward, 100, true, Included, 1}},
        {gap, {"after the gap", 2, Forward, 100, true, Included, 4}},
        {gap, {"backward over the gap", 4, Backward, 100, true, Included, 2}},
        {gap, {"a width that is no number has no sample beyond it", 1, Forward, std::nan(""), true, Excluded, 5}},
    };
    for (const GapCase &c : cases) {
        const EdgeCase &e = c.edge;
        EXPECT_EQ(WindowEdge(c.store, e.from, e.direction, e.width, e.timeMode, e.widthEnd), e.edge) << e.name;
    }
}

TEST(WindowEdge, AnchorOutsideTheRecordingGivesItsEnd)
{
    const SampleStore store = spaced(20, 1);
    for (const bool timeMode : {false, true}) {
        EXPECT_EQ(WindowEdge(store, 25, Forward, 5, timeMode, Included), 20) << timeMode;
        EXPECT_EQ(WindowEdge(store, 0, Backward, 5, timeMode, Included), 1) << timeMode;
        EXPECT_EQ(WindowEdge(SampleStore(), 1, Forward, 5, timeMode, Included), 0) << timeMode;
        EXPECT_EQ(WindowEdge(SampleStore(), 1, Backward, 5, timeMode, Excluded), 1) << timeMode;
    }
}
