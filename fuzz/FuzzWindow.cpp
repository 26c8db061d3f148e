#include "FuzzWindow.h"

#include "FuzzSupport.h"

#include <algorithm>

FuzzWindow::FuzzWindow(ProgramState &state) : state(state), trendView(state, chart1, chart2, *this)
{
    chart1.onRefresh = [this] {
        trendView.RedrawChart1();
        checkView(true);
    };
    chart2.onRefresh = [this] {
        trendView.RedrawChart2();
        checkView(false);
    };
}

void FuzzWindow::checkView(bool redrewChart1) const
{
    const SampleStore &store = state.store;
    FUZZ_CHECK(store.SampleCount >= 0);
    FUZZ_CHECK(std::size_t(store.SampleCount) + 1 <= store.Samples.size());
    // Chart 1 found the visible extremes among the samples of the recording.
    if (redrewChart1 && store.SampleCount > 0 && state.view.ViewFirst >= 1 &&
        state.view.ViewFirst <= store.SampleCount) {
        FUZZ_CHECK(state.view.ViewMaxIndex >= 1 && state.view.ViewMaxIndex <= store.SampleCount);
        FUZZ_CHECK(state.view.ViewMinIndex >= 1 && state.view.ViewMinIndex <= store.SampleCount);
    }
}

void FuzzWindow::setScrollBar(std::int32_t maximum, std::int32_t value)
{
    FUZZ_CHECK(maximum >= 0);
    scrollMaximum = maximum;
    scrollValue = std::clamp(value, 0, maximum);
}

void FuzzWindow::clearRecordingView()
{
    chart1.Cls();
    chart2.Cls();
    setScrollBar(0, 0);
    state.statistics.clear();
    showStatistics(state.statistics);
}

void FuzzWindow::showLoadedRecording(std::int32_t scrollPosition)
{
    trendView.RefreshCharts();
    trendView.ScrollTo(scrollPosition, scrollPosition);
    trendView.ShowAllAreaStatistics(MeanPattern::Loaded);
}

void FuzzWindow::clickChart1(float x)
{
    if (const auto readout = trendView.ShowReadout1(x))
        FUZZ_CHECK(readout->sampleIndex >= 1 && readout->sampleIndex <= state.store.SampleCount);
}

void FuzzWindow::clickChart2(float x)
{
    if (const auto readout = trendView.ShowReadout2(x))
        FUZZ_CHECK(readout->sampleIndex >= 1 && readout->sampleIndex <= state.store.SampleCount);
}

void FuzzWindow::scrollByUser(std::int32_t value)
{
    const std::int32_t clamped = std::clamp(value, 0, scrollMaximum);
    if (clamped == scrollValue)
        return;
    scrollValue = clamped;
    trendView.ScrollBarChanged(clamped);
}
