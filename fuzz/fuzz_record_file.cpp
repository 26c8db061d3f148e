// A recording file with any content: `amperotool dump` and `info` run
// in-process, the reader and the CSV text, where the window starts after
// loading, the Open command with everything it leads to on the charts (scroll
// bar, statistics, redraws, clicks), and Save As of what was loaded.

#include "Commands.h"
#include "FuzzSupport.h"
#include "FuzzWindow.h"
#include "RecordFile.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <limits>

namespace {

constexpr float ChartWidths[] = {
    100.0f, 0.5f, 0.0f, -5.0f, 1e30f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};

// The x of chart clicks: inside, at the edges, far outside and no number at all.
constexpr float ClickFractions[] = {-1.0f, 0.0f, 0.004f, 0.5f,
                                    0.9f,  1.0f, 1e9f,   std::numeric_limits<float>::quiet_NaN()};

void openInWindow(const QString &path, const QByteArray &wholeRecords, bool timeMode, float rightx)
{
    const std::int32_t samples = std::int32_t(wholeRecords.size() / qsizetype(SampleRecordSize)) - 1;
    ProgramState state;
    FuzzWindow window(state);
    RecordCommands commands(state, window);
    state.view.TimeMode = timeMode;
    window.chart1.setRightx(rightx);
    window.chart2.setRightx(rightx);
    window.openFile = path;

    FUZZ_CHECK(commands.Open() == (samples >= 0));
    if (samples < 0) {
        FUZZ_CHECK(window.errors == 1 && state.store.SampleCount == 0 && state.RecordFileName.isEmpty());
        return;
    }
    FUZZ_CHECK(state.store.SampleCount == samples);
    // The scroll bar's change handler has placed the window within the recording.
    FUZZ_CHECK(state.view.ViewFirst >= 1 && state.view.ViewFirst <= std::max(samples, 1));
    FUZZ_CHECK(state.view.ViewLast >= 1 && state.view.ViewLast <= std::max(samples, 1));
    FUZZ_CHECK(window.scrollValue == state.view.ViewFirst - 1);

    for (const float fraction : ClickFractions) {
        window.clickChart1(fraction * rightx);
        window.clickChart2(fraction * rightx);
    }
    window.scrollByUser(0);
    window.scrollByUser(window.scrollMaximum);

    // What was loaded is saved back byte for byte, trailing partial record excepted.
    const ScratchFile saved(".KRD");
    window.saveFile = saved.path();
    FUZZ_CHECK(commands.SaveAs() == SaveResult::Saved);
    QFile written(saved.path());
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    FUZZ_CHECK(written.readAll() == wholeRecords);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ScratchFile recording(".KRD", data, size);
    const std::size_t records = size / SampleRecordSize;
    const bool readable = records >= 1;

    FUZZ_CHECK((runDump({recording.path()}) == 0) == readable);
    FUZZ_CHECK((runInfo({recording.path()}) == 0) == readable);

    std::vector<Sample> loaded;
    const RecordFileResult read = ReadRecordFile(recording.path(), loaded);
    FUZZ_CHECK(read.ok == readable);
    if (readable) {
        FUZZ_CHECK(loaded.size() == records);
        FUZZ_CHECK(read.trailingPartialRecord == (size % SampleRecordSize != 0));
        SampleStore store;
        store.Load(std::move(loaded));

        // A header line and one line per sample.
        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        FUZZ_CHECK(WriteSamplesCsv(csv, store).ok);
        FUZZ_CHECK(std::size_t(csv.data().count('\n')) == records);

        for (const float rightx : ChartWidths) {
            for (const bool timeMode : {true, false}) {
                const std::int32_t start = LoadWindowStart(store, rightx, timeMode);
                FUZZ_CHECK(start >= 0 && start <= std::max(store.SampleCount - 1, 0));
            }
        }
    }

    const QByteArray wholeRecords(reinterpret_cast<const char *>(data), qsizetype(records * SampleRecordSize));
    openInWindow(recording.path(), wholeRecords, true, 100.0f);
    openInWindow(recording.path(), wholeRecords, false, 37.0f);
    return 0;
}
