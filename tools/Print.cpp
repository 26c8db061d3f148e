// amperotool print FILE --what list|first|second --out OUT.pdf [--range all|visual]:
// the printouts of the print dialog, written to a PDF file without a window.
// The charts are set up from the settings store as the program would load
// them, and the visible window is the one Open shows.

#include "Commands.h"
#include "Printout.h"
#include "ProgramState.h"
#include "RecordFile.h"
#include "RecordingInput.h"
#include "SettingsStore.h"
#include "StartupSettings.h"
#include "TrendView.h"

#include <TrendProperties.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

namespace {

// A chart without a window: it keeps the properties the settings give it,
// holding its four bounds as whole numbers like the chart widget, and has
// nothing to draw on.
class ChartSettings final : public TrendChart {
public:
    void Refresh() override {}
    void Cls() override {}
    void MoveTo(float x, float y) override { pen_ = {x, y}; }
    void DrawLine(float x, float y, OleColor) override { pen_ = {x, y}; }
    void DrawCircle(float x, float y, float, OleColor) override { pen_ = {x, y}; }
    std::optional<float> GetCurrentX() const override { return pen_.first; }
    std::optional<float> GetCurrentY() const override { return pen_.second; }
    void DisplayTime(double, double) override {}
    int PlotPixelWidth() const override { return 0; }

    float TopY() const override { return topY_; }
    void setTopY(float value) override { setBound(topY_, value); }
    float BottomY() const override { return bottomY_; }
    void setBottomY(float value) override { setBound(bottomY_, value); }
    float LeftX() const override { return Sweepgraph::TrendDefaults::LeftX; }
    float Rightx() const override { return rightx_; }
    void setRightx(float value) override { setBound(rightx_, value); }
    OleColor TrendBackColor() const override { return backColor_; }
    void setTrendBackColor(OleColor value) override { backColor_ = value; }
    qint32 GridRows() const override { return gridRows_; }
    void setGridRows(qint32 value) override { gridRows_ = value; }
    qint32 GridCols() const override { return gridCols_; }
    void setGridCols(qint32 value) override { gridCols_ = value; }
    qint32 GridStyle() const override { return Sweepgraph::TrendDefaults::GridStyle; }
    OleColor GridColor() const override { return gridColor_; }
    void setGridColor(OleColor value) override { gridColor_ = value; }
    qint32 LineWidth() const override { return lineWidth_; }
    void setLineWidth(qint32 value) override { lineWidth_ = value; }

private:
    // Kept as the chart widget keeps them: a value beyond what the chart can
    // hold keeps the previous one.
    static void setBound(float &bound, float value)
    {
        if (const auto whole = Sweepgraph::RoundBound(value))
            bound = float(*whole);
    }

    std::pair<float, float> pen_{0, 0};
    float topY_ = Sweepgraph::TrendDefaults::TopY;
    float bottomY_ = Sweepgraph::TrendDefaults::BottomY;
    float rightx_ = Sweepgraph::TrendDefaults::RightX;
    OleColor backColor_ = Sweepgraph::TrendDefaults::TrendBackColor;
    qint32 gridRows_ = Sweepgraph::TrendDefaults::GridRows;
    qint32 gridCols_ = Sweepgraph::TrendDefaults::GridCols;
    OleColor gridColor_ = Sweepgraph::TrendDefaults::GridColor;
    qint32 lineWidth_ = Sweepgraph::TrendDefaults::LineWidth;
};

// The statistics labels go nowhere; the pages read them from the program state.
class NoWindow final : public TrendViewHost {
public:
    void setScrollBar(std::int32_t, std::int32_t) override {}
    void showStatistics(const StatisticsLabels &) override {}
};

struct PrintOptions {
    QString file;
    QString out;
    PrintSelection selection{PrintWhat::Report, PrintRange::AllArea};
};

} // namespace

void printPrintUsage(std::FILE *out)
{
    std::fprintf(out,
                 "Usage: amperotool print FILE --what list|first|second --out OUT.pdf [--range all|visual]\n\n"
                 "Writes the list report or the trend pages of chart 1 (first) or chart 2 (second) of a\n"
                 "recording to a PDF file, as the print dialog would print them. The whole recording\n"
                 "(all, the default) or the window Open would show (visual). Chart scales, grid and\n"
                 "x-axis mode come from the program's settings.\n");
}

namespace {

int usageError(const QString &message)
{
    return ReportUsageError("print", message, printPrintUsage);
}

// Parses the command line; a message when it is not understood.
std::optional<QString> parseOptions(const QStringList &arguments, PrintOptions &options)
{
    bool whatGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!options.file.isEmpty())
                return QStringLiteral("only one recording file can be printed");
            options.file = argument;
            continue;
        }
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(argument);
        const QString value = arguments[++i];
        if (argument == QLatin1String("--what")) {
            if (value == QLatin1String("list"))
                options.selection.what = PrintWhat::Report;
            else if (value == QLatin1String("first"))
                options.selection.what = PrintWhat::FirstTrend;
            else if (value == QLatin1String("second"))
                options.selection.what = PrintWhat::SecondTrend;
            else
                return QStringLiteral("--what takes list, first or second, not '%1'").arg(value);
            whatGiven = true;
        } else if (argument == QLatin1String("--range")) {
            if (value == QLatin1String("all"))
                options.selection.range = PrintRange::AllArea;
            else if (value == QLatin1String("visual"))
                options.selection.range = PrintRange::VisualArea;
            else
                return QStringLiteral("--range takes all or visual, not '%1'").arg(value);
        } else if (argument == QLatin1String("--out")) {
            options.out = value;
        } else {
            return QStringLiteral("unknown option %1").arg(argument);
        }
    }
    if (options.file.isEmpty())
        return QStringLiteral("which recording file?");
    if (!whatGiven)
        return QStringLiteral("--what is missing");
    if (options.out.isEmpty())
        return QStringLiteral("--out is missing");
    return std::nullopt;
}

} // namespace

std::unique_ptr<QCoreApplication> CreatePrintApplication(int &argc, char **argv)
{
    // The pages are drawn into a file, never on a screen: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runPrint(const QStringList &arguments)
{
    PrintOptions options;
    if (const auto problem = parseOptions(arguments, options))
        return usageError(*problem);

    ProgramState state;
    if (!LoadRecordingForTool(options.file, state.store))
        return 1;
    if (state.store.SampleCount == 0) {
        std::fprintf(stderr, "amperotool print: %s: No data for print!! (the recording has no samples)\n",
                     qPrintable(options.file));
        return 1;
    }
    state.RecordFileName = QDir::toNativeSeparators(QFileInfo(options.file).absoluteFilePath());

    ChartSettings chart1, chart2;
    const SettingsStore settings;
    LoadStoredSettings(settings, state, chart1, chart2);

    // The window Open shows, and the statistics the window shows with it.
    ViewState &view = state.view;
    view.ViewLast = state.store.SampleCount;
    view.ViewFirst = LoadWindowStart(state.store, chart1.Rightx(), view.TimeMode) + 1;
    NoWindow window;
    TrendView trendView(state, chart1, chart2, window);
    trendView.ShowAllAreaStatistics(MeanPattern::Loaded);
    trendView.RedrawChart1();

    const PrintCharts charts{ReadPrintChart(chart1), ReadPrintChart(chart2)};
    QPrinter printer(QPrinter::HighResolution);
    PrintToPdfFile(printer, options.out);
    switch (PrintOnPrinter(printer, state, options.selection, charts)) {
    case PrintOutcome::Printed:
        return 0;
    case PrintOutcome::NothingToPrint:
        std::fprintf(stderr,
                     "amperotool print: %s: nothing to print: the trend pages of a whole recording need at least "
                     "two samples\n",
                     qPrintable(options.file));
        return 1;
    case PrintOutcome::Cancelled:
    case PrintOutcome::NotStarted:
    case PrintOutcome::Failed:
        break;
    }
    std::fprintf(stderr, "amperotool print: cannot write %s\n", qPrintable(options.out));
    return 1;
}
