#include "PrintPages.h"

#include "WindowEdge.h"

#include <algorithm>

namespace {

bool isSample(const SampleStore &store, std::int32_t index)
{
    return index >= 1 && index <= store.SampleCount;
}

} // namespace

std::int32_t ListPageCount(std::int32_t sampleCount)
{
    return sampleCount <= 0 ? 0 : (sampleCount - 1) / ListPageSamples + 1;
}

SampleRange ListPageWindow(std::int32_t page, std::int32_t sampleCount)
{
    const std::int32_t first = ListPageSamples * (page - 1) + 1;
    return {first, std::min(ListPageSamples * page, sampleCount)};
}

SampleRange VisualListWindow(const ProgramState &state)
{
    return {std::max(state.view.ViewFirst, 1), std::min(state.view.ViewLast, state.store.SampleCount)};
}

std::int32_t TrendPageEnd(const SampleStore &store, std::int32_t first, float rightx, bool timeMode)
{
    if (!isSample(store, first))
        return first;
    const std::int32_t end = WindowEdge(store, first, EdgeDirection::Forward, rightx, timeMode, WidthEnd::Included);
    return std::max(end, std::min(first + 1, store.SampleCount));
}

std::int32_t TrendPageStart(const SampleStore &store, std::int32_t last, float rightx, bool timeMode)
{
    if (!isSample(store, last))
        return last;
    const std::int32_t start = WindowEdge(store, last, EdgeDirection::Backward, rightx, timeMode, WidthEnd::Included);
    return std::min(start, std::max(last - 1, 1));
}

std::vector<SampleRange> WholeRecordingTrendPages(const SampleStore &store, float rightx, bool timeMode)
{
    std::vector<SampleRange> pages;
    for (std::int32_t last = 1; last < store.SampleCount;) {
        const std::int32_t first = last;
        last = TrendPageEnd(store, first, rightx, timeMode);
        pages.push_back({first, last});
    }
    return pages;
}

std::int32_t TrendPageCount(const SampleStore &store, float rightx, bool timeMode)
{
    return std::int32_t(WholeRecordingTrendPages(store, rightx, timeMode).size());
}

PageBrowser::PageBrowser(const ProgramState &state, PrintSelection selection, const PrintCharts &charts)
    : store_(state.store), selection_(selection),
      rightx_(charts.of(selection.what == PrintWhat::FirstTrend ? ChartNumber::First : ChartNumber::Second).Rightx),
      timeMode_(state.view.TimeMode)
{
    if (trend())
        visible_ = {selection.what, {state.view.ViewFirst, state.view.ViewLast}, state.view.Zoom};
    else
        visible_ = {PrintWhat::Report, VisualListWindow(state), std::nullopt};
    if (!paged())
        current_ = visible_;
    else if (trend())
        current_ = {selection.what, {1, TrendPageEnd(store_, 1, rightx_, timeMode_)}, std::nullopt};
    else
        current_ = {PrintWhat::Report, ListPageWindow(listPage_, store_.SampleCount), std::nullopt};
}

const std::vector<SampleRange> &PageBrowser::trendPages() const
{
    if (!trendPages_)
        trendPages_ = WholeRecordingTrendPages(store_, rightx_, timeMode_);
    return *trendPages_;
}

int PageBrowser::PageCount() const
{
    if (store_.SampleCount <= 0)
        return 0;
    if (!paged())
        return 1;
    if (!trend())
        return ListPageCount(store_.SampleCount);
    return int(trendPages().size());
}

PrintPage PageBrowser::Page(int k) const
{
    if (!paged())
        return visible_;
    if (!trend())
        return {PrintWhat::Report, ListPageWindow(k + 1, store_.SampleCount), std::nullopt};
    return {selection_.what, trendPages().at(std::size_t(k)), std::nullopt};
}

bool PageBrowser::HasPrevious() const
{
    if (!paged())
        return false;
    return trend() ? current_.samples.first > 1 : listPage_ > 1;
}

bool PageBrowser::HasNext() const
{
    if (!paged())
        return false;
    return trend() ? current_.samples.last < store_.SampleCount : ListPageSamples * listPage_ < store_.SampleCount;
}

void PageBrowser::Previous()
{
    if (!HasPrevious())
        return;
    if (trend()) {
        const std::int32_t last = current_.samples.first;
        current_.samples = {TrendPageStart(store_, last, rightx_, timeMode_), last};
    } else {
        --listPage_;
        current_.samples = ListPageWindow(listPage_, store_.SampleCount);
    }
}

void PageBrowser::Next()
{
    if (!HasNext())
        return;
    if (trend()) {
        const std::int32_t first = current_.samples.last;
        current_.samples = {first, TrendPageEnd(store_, first, rightx_, timeMode_)};
    } else {
        ++listPage_;
        current_.samples = ListPageWindow(listPage_, store_.SampleCount);
    }
}
