// amperotool print FILE --what list|first|second --out OUT.pdf [--range all|visual]:
// the printouts of the print dialog, written to a PDF file without a window.
// The charts are set up from the settings store as the program would load
// them, and the visible window is the one Open shows.

#include "ChartSettings.h"
#include "Commands.h"
#include "Printout.h"
#include "ProgramState.h"
#include "RecordFile.h"
#include "RecordingInput.h"
#include "SettingsStore.h"
#include "StartupSettings.h"
#include "TrendView.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

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
    std::fprintf(out, "Usage: amperotool print FILE --what list|first|second --out OUT.pdf [--range all|visual]\n\n"
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

    const PrintCharts charts = SettingsPrintCharts(chart1, chart2);
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
