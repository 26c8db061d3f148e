// amperotool dump FILE: the samples of a recording file as CSV on standard output.

#include "Commands.h"
#include "RecordFile.h"
#include "RecordingInput.h"

#include <QFile>

#include <cstdio>

void printDumpUsage(std::FILE *out)
{
    std::fprintf(out, "Usage: amperotool dump FILE\n\n"
                      "Writes the samples of the recording file FILE (*.KRD) to standard output as CSV,\n"
                      "one line per sample: the same table as File > Export CSV... in the window.\n"
                      "A trailing partial record is ignored with a warning on standard error.\n");
}

int runDump(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        printDumpUsage(stderr);
        return UsageExitCode;
    }
    SampleStore store;
    if (!LoadRecordingForTool(arguments.first(), store))
        return 1;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        std::fprintf(stderr, "amperotool: standard output: %s\n", qPrintable(out.errorString()));
        return 1;
    }
    RecordFileResult written = WriteSamplesCsv(out, store);
    if (written.ok && !out.flush()) {
        written.ok = false;
        written.error = out.errorString();
    }
    if (!written.ok) {
        std::fprintf(stderr, "amperotool: standard output: %s\n", qPrintable(written.error));
        return 1;
    }
    return 0;
}
