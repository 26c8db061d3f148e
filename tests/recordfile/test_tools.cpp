// amperotool dump and info, run as the built program on real files.

#include "RecordFile.h"
#include "TestFiles.h"
#include "ToolProcess.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun amperotool(const QStringList &arguments)
{
    QProcess process;
    process.start(ToolPath(), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

const char FixtureDump[] =
    "index,stamp,seconds,first_value,first_unit,second_value,second_unit,second_function,note,symbols2,mode\n"
    "1,2002-06-07T10:37:00.000,1234.5,100.5,kW,0.87,,PF,\u04241,04,02\n"
    "2,2002-06-07T10:37:05.500,1240,200,A,05:30,min,Time,\u2211W,90,40\n";

const char FixtureInfo[] = "records: 3\n"
                           "samples: 2\n"
                           "max_index: 2\n"
                           "min_index: 1\n"
                           "mean: 150.25\n"
                           "first: 2002-06-07T10:37:00.000\n"
                           "last: 2002-06-07T10:37:05.500\n"
                           "duration_seconds: 5.5\n";

TEST(AmperotoolDump, HandMadeFixture)
{
    const ToolRun run = amperotool({QStringLiteral("dump"), fixture("recording-3.KRD")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), FixtureDump);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(AmperotoolInfo, HandMadeFixture)
{
    const ToolRun run = amperotool({QStringLiteral("info"), fixture("recording-3.KRD")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), FixtureInfo);
    EXPECT_TRUE(run.err.isEmpty());
}

TEST(AmperotoolInfo, StatisticsAsStoredAndEmptyRecording)
{
    ToolRun run = amperotool({QStringLiteral("info"), fixture("damaged-statistics.KRD")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("max_index: 9\nmin_index: -1\nmean: nan\n")) << run.out.toStdString();

    run = amperotool({QStringLiteral("info"), fixture("empty.krd")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "records: 1\nsamples: 0\nmax_index: 0\nmin_index: 0\nmean: 0\n");

    run = amperotool({QStringLiteral("dump"), fixture("empty.krd")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray(SamplesCsvHeader) + '\n');
}

TEST(AmperotoolDumpInfo, TrailingPartialRecordWarns)
{
    for (const char *command : {"dump", "info"}) {
        const ToolRun run = amperotool({QLatin1String(command), fixture("recording-partial.KRD")});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_EQ(run.out.toStdString(), std::string(command[0] == 'd' ? FixtureDump : FixtureInfo)) << command;
        EXPECT_TRUE(run.err.contains("recording-partial.KRD: warning: the file ends in a partial record"))
            << run.err.toStdString();
    }
}

struct BadInput {
    const char *name;
    QString path;
    const char *message;
};

TEST(AmperotoolDumpInfo, BadFilesExitWithOne)
{
    QTemporaryDir dir;
    const BadInput cases[] = {
        {"missing", dir.filePath(QStringLiteral("gone.KRD")), "gone.KRD: No such file or directory"},
        {"too short", fixture("too-short.KRD"), "too-short.KRD: the file is shorter than one record (20 bytes"},
        {"a folder", dir.path(), "directory"},
    };
    for (const BadInput &c : cases) {
        for (const char *command : {"dump", "info"}) {
            const ToolRun run = amperotool({QLatin1String(command), c.path});
            EXPECT_EQ(run.exitCode, 1) << c.name << ' ' << command;
            EXPECT_TRUE(run.out.isEmpty()) << c.name << ' ' << command;
            EXPECT_TRUE(run.err.contains(c.message)) << c.name << ' ' << command << ": " << run.err.toStdString();
        }
    }
}

TEST(AmperotoolDumpInfo, WrongArgumentsAreAUsageError)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("dump")},
          QStringList{QStringLiteral("info"), QStringLiteral("a"), QStringLiteral("b")}}) {
        const ToolRun run = amperotool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("Usage: amperotool")) << run.err.toStdString();
    }
}

TEST(AmperotoolDump, WrittenRecordingMatchesTheExportWriter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pattern.KRD"));
    const SampleStore store = patternStore(2000);
    ASSERT_TRUE(WriteRecordFile(path, store).ok);
    const QString csv = dir.filePath(QStringLiteral("pattern.csv"));
    ASSERT_TRUE(WriteCsvFile(csv, store).ok);
    const ToolRun run = amperotool({QStringLiteral("dump"), path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, readBytes(csv));
    EXPECT_EQ(run.out.count('\n'), 2001);
}

TEST(AmperotoolDump, ValuesThatAreNoNumberHaveOneTextInEveryColumn)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        float seconds, first, second;
        std::uint8_t mode;
    };
    // -nan has its sign bit set; 0x40 is the Time mode, which must not turn "inf" into minutes.
    const Row rows[] = {
        {-nan, 3.4e38f, 3.4e38f, 0},      {inf, inf, inf, 0x40}, {-inf, -inf, -inf, 0}, {1.5f, -nan, nan, 0x40},
        {2, 1.0f / 3.0f, 1.0f / 3.0f, 0}, {3, 1e8f, 1e8f, 0},
    };
    SampleStore store;
    for (const Row &row : rows) {
        Sample s;
        s.Seconds = row.seconds;
        s.FirstValue = row.first;
        s.FirstUnit = 0x08;
        s.SecondValue = row.second;
        s.SecondUnit = 0x02;
        s.Mode = row.mode;
        s.Stamp = 37414.5;
        store.AppendSample(s);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.KRD"));
    ASSERT_TRUE(WriteRecordFile(path, store).ok);
    const ToolRun run = amperotool({QStringLiteral("dump"), path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), std::string(SamplesCsvHeader) +
                                         "\n"
                                         "1,2002-06-07T12:00:00.000,nan,3.4e+38,A,3.4e+38,V,,,00,00\n"
                                         "2,2002-06-07T12:00:00.000,inf,inf,A,inf,V,Time,,00,40\n"
                                         "3,2002-06-07T12:00:00.000,-inf,-inf,A,-inf,V,,,00,00\n"
                                         "4,2002-06-07T12:00:00.000,1.5,nan,A,nan,V,Time,,00,40\n"
                                         "5,2002-06-07T12:00:00.000,2,0.33333334,A,0.33333334,V,,,00,00\n"
                                         "6,2002-06-07T12:00:00.000,3,1e+08,A,1e+08,V,,,00,00\n");
}

TEST(AmperotoolDump, MillionSamples)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.KRD"));
    ASSERT_TRUE(WriteRecordFile(path, patternStore(1000000)).ok);
    // Its timing: scripts/record_benchmark.sh.
    const ToolRun run = amperotool({QStringLiteral("dump"), path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.count('\n'), 1000001);
}

} // namespace
