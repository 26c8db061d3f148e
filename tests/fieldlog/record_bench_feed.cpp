// Not a test: scripts/bench-record-io.sh runs it. A meter as fast as
// `amperotool record` takes its frames: steady frames into a pseudo-terminal,
// never more than a few dozen ahead of the samples in the recording file (the
// receive cycle treats more than 100 waiting frames as an overflow), until
// the file holds the wanted number of samples.
//
// Usage: record_bench_feed LINK FILE SAMPLES

#include "MeterScenario.h"
#include "PtyFeeder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int64_t AheadFrames = 40;
constexpr qint64 GiveUpMs = 30 * 60 * 1000;

std::int64_t samplesIn(const QString &file)
{
    const QFileInfo info(file);
    return info.exists() ? info.size() / 32 - 1 : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: record_bench_feed LINK FILE SAMPLES\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[2]);
    const std::int64_t wanted = std::atoll(argv[3]);
    PtyFeeder meter(QString::fromLocal8Bit(argv[1]));
    if (!meter.isValid()) {
        std::fprintf(stderr, "record_bench_feed: cannot open a pseudo-terminal\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    // The recorder makes its file once it has the port open.
    QElapsedTimer clock;
    clock.start();
    while (samplesIn(file) < 0) {
        if (clock.elapsed() > GiveUpMs)
            return 1;
        QThread::msleep(5);
    }
    ScenarioGenerator generator(ScenarioSettings{});
    std::int64_t sent = 0;
    std::int64_t recorded = 0;
    QElapsedTimer still;
    still.start();
    while (recorded < wanted) {
        while (sent < wanted && sent - recorded < AheadFrames) {
            if (!meter.write(generator.next().bytes)) {
                std::fprintf(stderr, "record_bench_feed: the line went away\n");
                return 1;
            }
            ++sent;
        }
        QThread::usleep(200);
        const std::int64_t now = samplesIn(file);
        if (now != recorded) {
            recorded = now;
            still.restart();
        } else if (still.elapsed() > 500) {
            // Frames lost on the way are sent again.
            sent = recorded;
            still.restart();
        }
        if (clock.elapsed() > GiveUpMs) {
            std::fprintf(stderr, "record_bench_feed: %lld of %lld samples after %lld s\n",
                         static_cast<long long>(recorded), static_cast<long long>(wanted),
                         static_cast<long long>(GiveUpMs / 1000));
            return 1;
        }
    }
    std::printf("sent %lld frames for %lld samples in %.1f s\n", static_cast<long long>(sent),
                static_cast<long long>(recorded), double(clock.elapsed()) / 1000.0);
    return 0;
}
