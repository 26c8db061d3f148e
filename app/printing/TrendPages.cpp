#include "TrendPages.h"

#include "PrintTexts.h"
#include "SampleTexts.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

bool isSample(const SampleStore &store, std::int32_t index)
{
    return index >= 1 && index <= store.SampleCount;
}

float plotted(const Sample &s, ChartNumber chart)
{
    return chart == ChartNumber::First ? s.FirstValue : s.SecondValue;
}

QString unitName(const Sample &s, ChartNumber chart)
{
    return QString::fromStdString(chart == ChartNumber::First ? FirstUnitName(s.FirstUnit)
                                                              : SecondUnitName(s.SecondUnit));
}

void printAt(PageSurface &surface, double x, double y, const TextLine &line)
{
    surface.SetTextPosition(x, y);
    surface.Print(line);
}

} // namespace

void PrintTrendGrid(PageSurface &surface, const PrintChart &chart)
{
    const int oldStyle = surface.PenStyle();
    const int oldWidth = surface.PenWidth();
    surface.SetPenWidth(1);
    surface.SetPenStyle(chart.GridStyle);
    const double w = std::fabs(chart.Rightx - chart.LeftX);
    const double h = std::fabs(chart.TopY - chart.BottomY);
    // Zero rows or columns leave no position to draw at: those lines are skipped.
    if (chart.GridRows > 0) {
        for (qint64 k = 0; k <= chart.GridRows; ++k) {
            surface.SetPenStyle(k == 0 || k == chart.GridRows ? PenStyle::Solid : chart.GridStyle);
            const double y = chart.TopY - h * k / chart.GridRows;
            surface.DrawLine(0, y, w, y, Black);
        }
    }
    if (chart.GridCols > 0) {
        for (qint64 k = 0; k <= chart.GridCols; ++k) {
            surface.SetPenStyle(k == 0 || k == chart.GridCols ? PenStyle::Solid : chart.GridStyle);
            const double x = w * k / chart.GridCols;
            surface.DrawLine(x, chart.TopY, x, chart.TopY - h, Black);
        }
    }
    surface.SetPenWidth(oldWidth);
    surface.SetPenStyle(oldStyle);
}

void PrintTrendPage(PageSurface &surface, const ProgramState &state, ChartNumber chartNumber, const PrintChart &chart,
                    SampleRange window, const QDateTime &printTime, const std::optional<ZoomWindow> &zoom)
{
    const SampleStore &store = state.store;
    const std::int32_t first = window.first;
    const std::int32_t last = std::min(window.last, store.SampleCount);
    const float top = chart.TopY;
    const float bottom = chart.BottomY;
    const float w = std::fabs(chart.Rightx - chart.LeftX);
    const float h = std::fabs(top - bottom);

    // The plot spans 0..w and bottom..top; the margins take a fifth of the
    // width (mostly on the left, for the y labels) and half of the height.
    surface.SetScaleWidth(w);
    surface.SetScaleHeight(-h);
    surface.SetScaleLeft(-0.15 * surface.ScaleWidth());
    surface.SetScaleTop(top - 0.2 * surface.ScaleHeight());
    surface.SetScaleWidth(1.2 * surface.ScaleWidth());
    surface.SetScaleHeight(1.5 * surface.ScaleHeight());
    const double sw = surface.ScaleWidth();
    const double sh = surface.ScaleHeight();

    PrintTrendGrid(surface, chart);

    if (isSample(store, first)) {
        const float start = store.sample(first).Seconds;
        double x = -1, previousX = 0, previousY = 0;
        for (std::int32_t i = first; i <= last; ++i) {
            const Sample &s = store.sample(i);
            if (zoom)
                x = ((state.view.TimeMode ? double(s.Seconds) : double(i)) - zoom->left) * w / zoom->span;
            else
                x = state.view.TimeMode ? std::fabs(s.Seconds - start) : x + 1;
            const float value = plotted(s, chartNumber);
            const float y = top < value ? top : bottom > value ? bottom : value;
            if (i != first)
                surface.DrawLine(previousX, previousY, x, y, Black);
            previousX = x;
            previousY = y;
        }
    }

    surface.SetTextPosition(0, top - sh / 15);
    surface.Print(TextLine(QCoreApplication::translate("TrendPages", "File Name:")).NextZone(state.RecordFileName));
    surface.Print(
        TextLine(QCoreApplication::translate("TrendPages", "Print Date:")).NextZone(PrintDateText(printTime)));
    surface.Print(TextLine(QCoreApplication::translate("TrendPages", "Unit:"))
                      .NextZone(isSample(store, first) ? unitName(store.sample(first), chartNumber) : QString()));

    // The middle labels are worked out in double precision from the single limits.
    const double labelX = -sw / 15;
    const double span = double(top) - double(bottom);
    printAt(surface, labelX, top, TextLine(PrintedSingle(top)));
    printAt(surface, labelX, top - h / 4.0, TextLine(PrintedDouble(double(top) - 0.25 * span)));
    printAt(surface, labelX, top - h / 2.0, TextLine(PrintedDouble(double(top) - 0.5 * span)));
    printAt(surface, labelX, top - 0.75 * h, TextLine(PrintedDouble(double(top) - 0.75 * span)));
    printAt(surface, labelX, top - 0.98 * h, TextLine(PrintedSingle(bottom)));

    if (isSample(store, first) && isSample(store, last)) {
        const double timeY = top + 0.68 * sh;
        printAt(surface, -sw / 30, timeY, TextLine(ClockText(store.sample(first).Stamp)));
        printAt(surface, 0.95 * chart.Rightx, timeY, TextLine(ClockText(store.sample(last).Stamp)));
    }

    if (chartNumber == ChartNumber::First) {
        const StatisticsLabels &labels = state.statistics;
        printAt(surface, 0, top + 0.72 * sh,
                TextLine(QCoreApplication::translate("TrendPages", "All Area:    Max="))
                    .Adjacent(labels.aMAX)
                    .NextZone(QCoreApplication::translate("TrendPages", "Min="))
                    .Adjacent(labels.aMIN)
                    .NextZone(QCoreApplication::translate("TrendPages", "Avg="))
                    .Adjacent(labels.aAVG));
        printAt(surface, 0, top + 0.75 * sh,
                TextLine(QCoreApplication::translate("TrendPages", "Visual Area:    Max="))
                    .Adjacent(labels.vMAX)
                    .NextZone(QCoreApplication::translate("TrendPages", "Min="))
                    .Adjacent(labels.vMIN)
                    .NextZone(QCoreApplication::translate("TrendPages", "Avg="))
                    .Adjacent(labels.vAVG));
    }
}
