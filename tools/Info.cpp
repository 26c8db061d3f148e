// amperotool info FILE: what a recording file holds, as "key: value" lines.

#include "Commands.h"
#include "NumberText.h"
#include "OleDate.h"
#include "RecordingInput.h"

#include <cstdio>

void printInfoUsage(std::FILE *out)
{
    std::fprintf(out, "Usage: amperotool info FILE\n\n"
                      "Prints what the recording file FILE (*.KRD) holds as \"key: value\" lines: the\n"
                      "record and sample counts, the statistics record as stored, and the time stamps\n"
                      "of the first and last sample with the time between them.\n");
}

int runInfo(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        printInfoUsage(stderr);
        return UsageExitCode;
    }
    SampleStore store;
    if (!LoadRecordingForTool(arguments.first(), store))
        return 1;
    const Sample &statistics = store.statistics();
    const std::int32_t n = store.SampleCount;
    std::printf("records: %zu\n", store.Samples.size());
    std::printf("samples: %d\n", int(n));
    // The statistics record as stored: a damaged file shows here as it is.
    std::printf("max_index: %s\n", ShortestFloatText(StatisticsRecord::maxIndex(statistics)).c_str());
    std::printf("min_index: %s\n", ShortestFloatText(StatisticsRecord::minIndex(statistics)).c_str());
    std::printf("mean: %s\n", ShortestFloatText(StatisticsRecord::mean(statistics)).c_str());
    if (n >= 1) {
        const Sample &first = store.sample(1);
        const Sample &last = store.sample(n);
        std::printf("first: %s\n", OleDateIsoText(first.Stamp).c_str());
        std::printf("last: %s\n", OleDateIsoText(last.Stamp).c_str());
        std::printf("duration_seconds: %s\n", ShortestFloatText(last.Seconds - first.Seconds).c_str());
    }
    if (std::fflush(stdout) != 0) {
        std::perror("amperotool: standard output");
        return 1;
    }
    return 0;
}
