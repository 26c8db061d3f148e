// A long recording split into files, driven through the receive cycle with a
// clock passed in: hours pass between two frames without anyone waiting.

#include "Frames.h"
#include "OleDate.h"
#include "ProgramState.h"
#include "ReceiveCycle.h"
#include "RecordFile.h"
#include "SplitRecorder.h"
#include "TrendView.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <deque>
#include <vector>

namespace {

class QueuedPort : public MeterPort {
public:
    bool readFrame(MeterFrame &frame) override
    {
        if (frames.empty())
            return false;
        frame = frames.front();
        frames.pop_front();
        return true;
    }
    void closePort() override {}
    void reopenPort() override {}
    std::deque<MeterFrame> frames;
};

class SteppedClock : public TickClock {
public:
    float tickSeconds() override { return float(seconds); }
    double localOleDate() override { return start + (seconds - 100) / 86400.0; }
    double seconds = 100; // the tick clock does not start at 0
    double start = LocalToOleDate(QDateTime(QDate(2026, 3, 28), QTime(22, 15, 0)));
};

// The window side of `amperotool record`: every sample goes to the recorder.
class RecorderView : public AcquisitionView {
public:
    explicit RecorderView(SplitRecorder &recorder) : recorder_(recorder) {}
    void showHoldSymbol(bool) override {}
    void showDisplay(const DecodedFrame &) override {}
    bool askCreateNewFile() override { return false; }
    void runNewCommand() override {}
    void followLatestSample() override { recorder_.sampleAppended(); }

private:
    SplitRecorder &recorder_;
};

MeterFrame frameOf(int value)
{
    return ReadingFrame(std::to_string(1000 + value % 37 * 7));
}

struct Started {
    QString path;
    SplitReason reason;
};

class SplitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetRecording(state.store, state.acquisition);
    }

    // `count` frames, `step` seconds apart; every one becomes a sample.
    void record(const SplitSettings &settings, int count, double step)
    {
        SplitRecorder recorder(state.store, settings);
        QObject::connect(&recorder, &SplitRecorder::fileStarted, [&](const QString &path, SplitReason reason) {
            started.push_back({path, reason});
        });
        ASSERT_TRUE(recorder.start()) << qPrintable(recorder.problem());
        RecorderView view(recorder);
        ReceiveCycle cycle(state.store, state.acquisition, port, clock, view);
        for (int i = 0; i < count; ++i) {
            port.frames.push_back(frameOf(i));
            cycle.run(ReceiveEvent::FrameWaiting);
            clock.seconds += step;
        }
        ASSERT_TRUE(recorder.finish()) << qPrintable(recorder.problem());
    }

    std::vector<Sample> readRecording(const QString &file)
    {
        std::vector<Sample> records;
        const RecordFileResult read = ReadRecordFile(file, records);
        EXPECT_TRUE(read.ok) << qPrintable(file) << ": " << qPrintable(read.error);
        EXPECT_FALSE(read.trailingPartialRecord);
        return records;
    }

    // Each file a recording of its own with its statistics; together, in the
    // order they were started, every sample once. Returns the sample counts.
    std::vector<std::size_t> expectSeriesOfAllSamples(int count)
    {
        std::vector<std::size_t> sizes;
        std::vector<float> values;
        for (const Started &file : started) {
            std::vector<Sample> records = readRecording(file.path);
            if (records.empty())
                continue;
            SampleStore own;
            own.Load(records);
            RecomputeStatistics(own);
            EXPECT_EQ(records[0], own.statistics()) << qPrintable(file.path);
            sizes.push_back(records.size() - 1);
            for (std::size_t i = 1; i < records.size(); ++i)
                values.push_back(records[i].FirstValue);
        }
        EXPECT_EQ(values.size(), std::size_t(count));
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_FLOAT_EQ(values[i], float(1000 + int(i) % 37 * 7)) << i;
        return sizes;
    }

    QTemporaryDir dir;
    ProgramState state;
    QueuedPort port;
    SteppedClock clock;
    std::vector<Started> started;
};

} // namespace

// Ten minutes between samples, a new file every hour: six samples a file,
// each file named after the local time of its first sample.
TEST_F(SplitTest, EveryHourANewFileNamedAfterItsFirstSample)
{
    SplitSettings settings;
    settings.out = dir.filePath(QStringLiteral("site.KRD"));
    settings.splitEvery = ParseDuration(QStringLiteral("1h"));
    record(settings, 20, 600);

    EXPECT_FALSE(QFileInfo::exists(settings.out)) << "with splitting every file carries its time";
    const QStringList names = {QStringLiteral("site-20260328-221500.KRD"), QStringLiteral("site-20260328-231500.KRD"),
                               QStringLiteral("site-20260329-001500.KRD"), QStringLiteral("site-20260329-011500.KRD")};
    ASSERT_EQ(started.size(), std::size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(QFileInfo(started[std::size_t(i)].path).fileName(), names[i]);
        EXPECT_EQ(started[std::size_t(i)].reason, i == 0 ? SplitReason::First : SplitReason::Interval);
    }
    EXPECT_EQ(expectSeriesOfAllSamples(20), (std::vector<std::size_t>{6, 6, 6, 2}));
    QStringList present = QDir(dir.path()).entryList(QDir::Files);
    present.sort();
    EXPECT_EQ(present, names);
}

TEST_F(SplitTest, AFullFileMovesOnToANewOneByItself)
{
    SplitSettings settings;
    settings.out = dir.filePath(QStringLiteral("long.krd"));
    settings.recordLimit = 4; // the statistics record and three samples
    record(settings, 10, 0.6);

    ASSERT_EQ(started.size(), 4u);
    EXPECT_EQ(started[0].path, settings.out) << "without splitting the first file is the one named";
    EXPECT_EQ(started[0].reason, SplitReason::First);
    for (std::size_t i = 1; i < started.size(); ++i) {
        EXPECT_EQ(started[i].reason, SplitReason::RecordLimit);
        EXPECT_TRUE(QFileInfo(started[i].path).fileName().startsWith(QLatin1String("long-20260328-2215")))
            << qPrintable(started[i].path);
    }
    // All four start within one second: the names stay apart.
    EXPECT_EQ(QFileInfo(started[1].path).fileName(), QStringLiteral("long-20260328-221501.KRD"));
    EXPECT_EQ(QFileInfo(started[2].path).fileName(), QStringLiteral("long-20260328-221503.KRD"));
    EXPECT_EQ(expectSeriesOfAllSamples(10), (std::vector<std::size_t>{3, 3, 3, 1}));
}

TEST(SplitSettings, AFileHoldsAtMost16777216RecordsByDefault)
{
    EXPECT_EQ(SplitSettings().recordLimit, 16777216);
    // The last index that single floats hold exactly, and the one after.
    EXPECT_EQ(double(float(16777215)), 16777215.0);
    EXPECT_NE(double(float(16777217)), 16777217.0);
}

TEST(SplitRecorder, NamesNeverOverwriteAFileThatIsThere)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("day.KRD"));
    const double stamp = LocalToOleDate(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7)));
    const QString first = SplitRecorder::SeriesFileName(out, stamp);
    EXPECT_EQ(first, dir.filePath(QStringLiteral("day-20261207-090507.KRD")));
    QFile taken(first);
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    EXPECT_EQ(SplitRecorder::SeriesFileName(out, stamp), dir.filePath(QStringLiteral("day-20261207-090507-2.KRD")));
    EXPECT_EQ(SplitRecorder::SeriesStem(QStringLiteral("/data/site.2.krd")), QStringLiteral("/data/site.2"));
    EXPECT_EQ(SplitRecorder::SeriesStem(QStringLiteral("plain")), QStringLiteral("./plain"));
}

TEST(SplitRecorder, AFolderThatCannotTakeTheFilesIsKnownAtTheStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SampleStore store;
    SplitSettings settings;
    settings.out = dir.filePath(QStringLiteral("gone/site.KRD"));
    settings.splitEvery = 60;
    SplitRecorder recorder(store, settings);
    EXPECT_FALSE(recorder.start());
    EXPECT_TRUE(recorder.problem().contains(settings.out)) << qPrintable(recorder.problem());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));

    settings.splitEvery.reset();
    SplitRecorder single(store, settings);
    EXPECT_FALSE(single.start());
    EXPECT_TRUE(single.problem().startsWith(QStringLiteral("cannot write %1: ").arg(settings.out)))
        << qPrintable(single.problem());
}

TEST(ParseDuration, UnitsAndErrors)
{
    struct Row {
        const char *text;
        std::optional<double> seconds;
    };
    const Row rows[] = {
        {"24h", 86400}, {"90m", 5400}, {"3600s", 3600}, {"2d", 172800}, {"45", 45},   {"1.5h", 5400},
        {" 10m ", 600}, {"0", {}},     {"0h", {}},      {"-1h", {}},    {"h", {}},    {"5x", {}},
        {"", {}},       {"1h30m", {}}, {"1e3", {}},     {"2 d", {}},    {"1,5h", {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ParseDuration(QString::fromLatin1(row.text)), row.seconds) << row.text;
}
