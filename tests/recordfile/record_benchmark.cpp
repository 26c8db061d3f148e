// Not a test: how long a recording of a million samples takes to write, to
// read and to dump with amperotool, against the targets (300 ms to write,
// 300 ms to read, 3 s to dump). Run it through scripts/record_benchmark.sh;
// exits 1 when a time is over its target.
//   record_benchmark AMPEROTOOL

#include "RecordFile.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool report(const char *what, double ms, double targetMs)
{
    const bool met = ms <= targetMs;
    std::printf("%-40s %8.0f ms (target %.0f ms)%s\n", what, ms, targetMs, met ? "" : "  OVER");
    return met;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: record_benchmark AMPEROTOOL\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.KRD"));
    const SampleStore store = patternStore(1000000);

    QElapsedTimer timer;
    timer.start();
    if (!WriteRecordFile(path, store).ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 2;
    }
    const double writeMs = double(timer.nsecsElapsed()) / 1e6;

    std::vector<Sample> records;
    timer.start();
    if (!ReadRecordFile(path, records).ok) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 2;
    }
    const double readMs = double(timer.nsecsElapsed()) / 1e6;

    QProcess dump;
    dump.setStandardOutputFile(QProcess::nullDevice());
    timer.start();
    dump.start(QString::fromLocal8Bit(argv[1]), {QStringLiteral("dump"), path});
    if (!dump.waitForFinished(120000) || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        std::fprintf(stderr, "amperotool dump failed\n");
        return 2;
    }
    const double dumpMs = double(timer.nsecsElapsed()) / 1e6;

    bool met = report("write 1,000,000 samples", writeMs, 300);
    met = report("read 1,000,000 samples", readMs, 300) && met;
    met = report("amperotool dump of 1,000,000 samples", dumpMs, 3000) && met;
    return met ? 0 : 1;
}
