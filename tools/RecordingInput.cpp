#include "RecordingInput.h"

#include "RecordFile.h"

#include <cstdio>
#include <vector>

bool LoadRecordingForTool(const QString &path, SampleStore &store)
{
    std::vector<Sample> records;
    const RecordFileResult read = ReadRecordFile(path, records);
    if (!read.ok) {
        std::fprintf(stderr, "amperotool: %s: %s\n", qPrintable(path), qPrintable(read.error));
        return false;
    }
    if (read.trailingPartialRecord)
        std::fprintf(stderr, "amperotool: %s: warning: the file ends in a partial record, which is ignored\n",
                     qPrintable(path));
    store.Load(std::move(records));
    return true;
}
