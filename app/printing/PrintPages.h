#pragma once

// The pages of a printout: which page shows which samples, and the paging
// through them, without drawing anything. The printer, the PDF file, the
// preview and `amperotool print` all take their pages from here.

#include "PrintChart.h"
#include "PrintSelection.h"
#include "ProgramState.h"

#include <cstdint>
#include <optional>
#include <vector>

// Pages of the whole-recording list hold this many samples.
constexpr std::int32_t ListPageSamples = 40;

std::int32_t ListPageCount(std::int32_t sampleCount);
// Page p (from 1) of the whole-recording list.
SampleRange ListPageWindow(std::int32_t page, std::int32_t sampleCount);

// The samples the list page of the visible window shows: ViewFirst..ViewLast
// as far as they are samples.
SampleRange VisualListWindow(const ProgramState &state);

// The last sample of the page that starts at `first`: the sample before the
// first one that lies more than `rightx` (samples, or seconds in time mode)
// after it. A page holds at least two samples while there are more, so that a
// gap wider than the chart or a chart narrower than one sample cannot hold the
// paging on the same page.
std::int32_t TrendPageEnd(const SampleStore &store, std::int32_t first, float rightx, bool timeMode);
// The first sample of the page that ends at `last`, searched backwards the same way.
std::int32_t TrendPageStart(const SampleStore &store, std::int32_t last, float rightx, bool timeMode);

// The pages of the whole recording, from sample 1 on; consecutive pages share
// one sample, and a recording of one sample has none.
std::vector<SampleRange> WholeRecordingTrendPages(const SampleStore &store, float rightx, bool timeMode);
std::int32_t TrendPageCount(const SampleStore &store, float rightx, bool timeMode);

// One page: a trend page of a chart or a list page, of a range of samples.
struct PrintPage {
    PrintWhat what = PrintWhat::Report;
    SampleRange samples;
    // A trend page of the visible window spans the window the user zoomed to.
    std::optional<ZoomWindow> zoom;
};

// The pages of one printout of a recording, and a current page to browse
// from. The visible window, the x-axis mode and the chart width are taken
// when the browser is made; the recording is read as it is.
class PageBrowser {
public:
    PageBrowser(const ProgramState &state, PrintSelection selection, const PrintCharts &charts);
    // The browser reads the recording where it is: it must outlive no temporary.
    PageBrowser(ProgramState &&, PrintSelection, const PrintCharts &) = delete;

    PrintSelection Selection() const { return selection_; }
    // Pages the printout has (0: nothing to print).
    int PageCount() const;
    // Page k, from 0, of the printout as it is printed.
    PrintPage Page(int k) const;

    // The page browsed to; the first page at the start.
    const PrintPage &Current() const { return current_; }
    bool HasPrevious() const;
    bool HasNext() const;
    // Trend pages step a page back or on from the current page's ends, sharing
    // one sample with it; list pages step by page number.
    void Previous();
    void Next();

private:
    bool paged() const { return selection_.range == PrintRange::AllArea; }
    bool trend() const { return selection_.what != PrintWhat::Report; }
    const std::vector<SampleRange> &trendPages() const;

    const SampleStore &store_;
    PrintSelection selection_;
    float rightx_;
    bool timeMode_;
    PrintPage visible_;
    PrintPage current_;
    std::int32_t listPage_ = 1;
    // Found when first asked for: the preview needs no more than the pages it shows.
    mutable std::optional<std::vector<SampleRange>> trendPages_;
};
