#include "PrintTestSupport.h"

#include "PrintPages.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Window = std::pair<int, int>;

Window window(const PrintPage &page)
{
    return {page.samples.first, page.samples.last};
}

PrintCharts chartsWith(float rightx)
{
    PrintCharts charts;
    charts.first.Rightx = rightx;
    charts.second.Rightx = rightx;
    return charts;
}

// Every page as printed, and the pages met going to the end and back again.
struct Walk {
    std::vector<Window> printed, forward, backward;
};

Walk walk(const ProgramState &state, PrintSelection selection, const PrintCharts &charts)
{
    PageBrowser pages(state, selection, charts);
    Walk w;
    for (int k = 0; k < pages.PageCount(); ++k)
        w.printed.push_back(window(pages.Page(k)));
    w.forward.push_back(window(pages.Current()));
    while (pages.HasNext()) {
        pages.Next();
        w.forward.push_back(window(pages.Current()));
    }
    w.backward.push_back(window(pages.Current()));
    while (pages.HasPrevious()) {
        pages.Previous();
        w.backward.push_back(window(pages.Current()));
    }
    return w;
}

constexpr PrintSelection AllFirst{PrintWhat::FirstTrend, PrintRange::AllArea};
constexpr PrintSelection AllSecond{PrintWhat::SecondTrend, PrintRange::AllArea};
constexpr PrintSelection AllList{PrintWhat::Report, PrintRange::AllArea};

} // namespace

TEST(PageBrowser, ListPagesOfFortySamples)
{
    const ProgramState state = NumberedRecording(81);
    const Walk w = walk(state, AllList, PrintCharts());
    const std::vector<Window> pages = {{1, 40}, {41, 80}, {81, 81}};
    EXPECT_EQ(w.printed, pages);
    EXPECT_EQ(w.forward, pages);
    EXPECT_EQ(w.backward, std::vector<Window>(pages.rbegin(), pages.rend()));

    const ProgramState fortySamples = NumberedRecording(40);
    PageBrowser forty(fortySamples, AllList, PrintCharts());
    EXPECT_EQ(forty.PageCount(), 1);
    EXPECT_FALSE(forty.HasNext());
    EXPECT_FALSE(forty.HasPrevious());
    forty.Next(); // there is no next page: it stays
    EXPECT_EQ(window(forty.Current()), Window(1, 40));
}

TEST(PageBrowser, TrendPagesShareTheirEndSamples)
{
    ProgramState state = NumberedRecording(250);
    state.view.TimeMode = false;
    const Walk w = walk(state, AllFirst, chartsWith(100));
    const std::vector<Window> pages = {{1, 101}, {101, 201}, {201, 250}};
    EXPECT_EQ(w.printed, pages);
    EXPECT_EQ(w.forward, pages);
    EXPECT_EQ(w.backward, std::vector<Window>(pages.rbegin(), pages.rend()));
}

TEST(PageBrowser, TrendPagesInTimeModeAndOverGaps)
{
    // Sample i at 2 (i - 1) s: 30 s hold 16 samples.
    ProgramState state = NumberedRecording(40);
    for (int i = 1; i <= 40; ++i)
        state.store.Samples[std::size_t(i)].Seconds = float(2 * (i - 1));
    state.view.TimeMode = true;
    EXPECT_EQ(walk(state, AllSecond, chartsWith(30)).printed, (std::vector<Window>{{1, 16}, {16, 31}, {31, 40}}));
    // The paging takes the chart of the page: chart 2 here is narrower.
    PrintCharts charts = chartsWith(30);
    charts.second.Rightx = 10;
    EXPECT_EQ(PageBrowser(state, AllSecond, charts).PageCount(), 8);
    EXPECT_EQ(PageBrowser(state, AllFirst, charts).PageCount(), 3);

    // A gap wider than the chart still moves on by a sample.
    const float gap[] = {0, 1000, 1001, 1002, 5000};
    ProgramState gaps = NumberedRecording(5);
    for (int i = 1; i <= 5; ++i)
        gaps.store.Samples[std::size_t(i)].Seconds = gap[i - 1];
    gaps.view.TimeMode = true;
    const Walk w = walk(gaps, AllFirst, chartsWith(100));
    EXPECT_EQ(w.printed, (std::vector<Window>{{1, 2}, {2, 4}, {4, 5}}));
    EXPECT_EQ(w.forward, w.printed);
    EXPECT_EQ(w.backward, (std::vector<Window>{{4, 5}, {2, 4}, {1, 2}}));
}

TEST(PageBrowser, VisibleWindowIsOnePageWithoutPaging)
{
    ProgramState state = NumberedRecording(300);
    state.view.ViewFirst = 20;
    state.view.ViewLast = 80;
    state.view.Zoom = ZoomWindow{20, 60, false};
    for (const PrintWhat what : {PrintWhat::FirstTrend, PrintWhat::SecondTrend, PrintWhat::Report}) {
        PageBrowser pages(state, {what, PrintRange::VisualArea}, chartsWith(100));
        EXPECT_EQ(pages.PageCount(), 1);
        EXPECT_EQ(window(pages.Page(0)), Window(20, 80));
        EXPECT_EQ(pages.Current().what, what);
        EXPECT_FALSE(pages.HasNext());
        EXPECT_FALSE(pages.HasPrevious());
        // Trend pages span the window the user zoomed to; a list has no zoom.
        EXPECT_EQ(pages.Current().zoom.has_value(), what != PrintWhat::Report);
    }
    // The list of a window that reaches past the recording lists what there is.
    state.view.ViewLast = 400;
    EXPECT_EQ(window(PageBrowser(state, {PrintWhat::Report, PrintRange::VisualArea}, chartsWith(100)).Page(0)),
              Window(20, 300));
}

TEST(PageBrowser, NothingToPrint)
{
    const ProgramState empty = NumberedRecording(0);
    EXPECT_EQ(PageBrowser(empty, AllList, PrintCharts()).PageCount(), 0);
    EXPECT_EQ(PageBrowser(empty, {PrintWhat::FirstTrend, PrintRange::VisualArea}, PrintCharts()).PageCount(), 0);
    // One sample has no whole-recording trend page, though the preview shows it.
    const ProgramState oneSample = NumberedRecording(1);
    const PageBrowser one(oneSample, AllFirst, chartsWith(100));
    EXPECT_EQ(one.PageCount(), 0);
    EXPECT_EQ(window(one.Current()), Window(1, 1));
    EXPECT_FALSE(one.HasNext());
}
