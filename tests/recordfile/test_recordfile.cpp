#include "OleDate.h"
#include "RecordFile.h"
#include "SampleTexts.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <csignal>
#include <cstring>

namespace {

// ---- stamps ----------------------------------------------------------------

struct StampCase {
    const char *name;
    double stamp;
    const char *iso;
};

TEST(OleDate, IsoTextOfStamps)
{
    const StampCase cases[] = {
        {"the epoch", 0.0, "1899-12-30T00:00:00.000"},
        {"a meter stamp", 37414.44236111111, "2002-06-07T10:37:00.000"},
        {"half a second", 37414.44242476852, "2002-06-07T10:37:05.500"},
        {"before the epoch the fraction still runs forwards", -1.25, "1899-12-29T06:00:00.000"},
        {"minus a half is noon of the epoch day", -0.5, "1899-12-30T12:00:00.000"},
        {"rounding up to midnight moves to the next day", 1.9999999999, "1900-01-01T00:00:00.000"},
        {"... also before the epoch", -1.9999999999, "1899-12-30T00:00:00.000"},
        {"first day of the format", -657434.0, "0100-01-01T00:00:00.000"},
        {"last day of the format", 2958465.5, "9999-12-31T12:00:00.000"},
        {"after the last day", 2958466.0, ""},
        {"before the first day", -657435.0, ""},
        {"NaN", std::nan(""), ""},
        {"infinity", HUGE_VAL, ""},
    };
    for (const StampCase &c : cases)
        EXPECT_EQ(OleDateIsoText(c.stamp), c.iso) << c.name;
}

TEST(OleDate, LocalDateTimeRoundTrip)
{
    const QDateTime local(QDate(2002, 6, 7), QTime(10, 37, 5, 500), Qt::LocalTime);
    const double stamp = LocalToOleDate(local);
    EXPECT_NEAR(stamp, 37414.44242476852, 1e-9);
    EXPECT_EQ(OleDateToLocal(stamp), local);
    // The stamp is the local wall-clock time, whatever zone the caller hands in.
    EXPECT_EQ(LocalToOleDate(local.toUTC()), stamp);

    const QDateTime early(QDate(1899, 12, 29), QTime(6, 0), Qt::LocalTime);
    EXPECT_EQ(LocalToOleDate(early), -1.25);
    EXPECT_EQ(OleDateToLocal(-1.25), early);

    EXPECT_TRUE(std::isnan(LocalToOleDate(QDateTime())));
    EXPECT_FALSE(OleDateToLocal(std::nan("")).isValid());
    EXPECT_FALSE(OleDateToLocal(1e300).isValid());
}

// ---- reading -----------------------------------------------------------------

TEST(ReadRecordFile, HandMadeFixtureByteForByte)
{
    std::vector<Sample> records;
    const RecordFileResult result = ReadRecordFile(fixture("recording-3.KRD"), records);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_FALSE(result.trailingPartialRecord);
    ASSERT_EQ(records.size(), 3u);

    EXPECT_EQ(StatisticsRecord::maxIndex(records[0]), 2.0f);
    EXPECT_EQ(StatisticsRecord::minIndex(records[0]), 1.0f);
    EXPECT_EQ(StatisticsRecord::mean(records[0]), 150.25f);

    const Sample &first = records[1];
    EXPECT_EQ(first.FirstValue, 100.5f);
    EXPECT_EQ(FirstUnitName(first.FirstUnit), "kW");
    EXPECT_EQ(first.Symbols, 0x04);
    EXPECT_EQ(first.SecondValue, 0.87f);
    EXPECT_EQ(first.Mode, 0x02);
    EXPECT_EQ(OleDateIsoText(first.Stamp), "2002-06-07T10:37:00.000");
    EXPECT_EQ(first.Seconds, 1234.5f);
    EXPECT_EQ(first.Symbols2, 0x04);

    const Sample &second = records[2];
    EXPECT_EQ(second.FirstValue, 200.0f);
    EXPECT_EQ(second.FirstUnit, 0x48);
    EXPECT_EQ(second.SecondValue, 530.0f);
    EXPECT_EQ(SecondValueText(second.Mode, second.SecondValue), "05:30");
    EXPECT_EQ(second.Symbols2, 0x90);
    // Padding as found in the file.
    EXPECT_EQ(second.Padding6[0], 0xAA);
    EXPECT_EQ(second.Padding6[1], 0x55);
    EXPECT_EQ(second.Padding14[0], 0x01);
    EXPECT_EQ(second.Padding14[1], 0x02);
    EXPECT_EQ(second.Padding29[0], 0xDE);
    EXPECT_EQ(second.Padding29[2], 0xBE);
}

TEST(ReadRecordFile, FixtureWrittenAgainIsTheSameFile)
{
    std::vector<Sample> records;
    ASSERT_TRUE(ReadRecordFile(fixture("recording-3.KRD"), records).ok);
    SampleStore store;
    store.Load(records);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("again.KRD"));
    ASSERT_TRUE(WriteRecordFile(path, store).ok);
    EXPECT_EQ(readBytes(path), readBytes(fixture("recording-3.KRD")));
}

TEST(ReadRecordFile, TrailingPartialRecordIsIgnored)
{
    std::vector<Sample> records;
    const RecordFileResult result = ReadRecordFile(fixture("recording-partial.KRD"), records);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.trailingPartialRecord);
    ASSERT_EQ(records.size(), 3u);
    std::vector<Sample> whole;
    ASSERT_TRUE(ReadRecordFile(fixture("recording-3.KRD"), whole).ok);
    EXPECT_EQ(records, whole);
}

TEST(ReadRecordFile, StatisticsRecordAloneIsAnEmptyRecording)
{
    std::vector<Sample> records;
    ASSERT_TRUE(ReadRecordFile(fixture("empty.krd"), records).ok);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], Sample());
}

struct BadFile {
    const char *name;
    QString path;
    const char *reasonContains;
};

TEST(ReadRecordFile, FailuresLeaveTheRecordsAlone)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.KRD"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString empty = dir.filePath(QStringLiteral("empty.KRD"));
    writeBytes(empty, QByteArray());
    // A sparse file one record longer than the supported maximum; nothing of it is read.
    const QString huge = dir.filePath(QStringLiteral("huge.KRD"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize((MaxRecordFileRecords + 1) * 32));
    }

    const BadFile cases[] = {
        {"missing file", dir.filePath(QStringLiteral("nothing.KRD")), "No such file"},
        {"a folder", dir.path(), "directory"},
        {"a named pipe", fifo, "not a regular file"},
        {"empty file", empty, "shorter than one record (0 bytes"},
        {"20 bytes", fixture("too-short.KRD"), "shorter than one record (20 bytes"},
        {"more than 16777216 records", huge, "16777217 records"},
    };
    for (const BadFile &c : cases) {
        std::vector<Sample> records(2, patternSample(9));
        const RecordFileResult result = ReadRecordFile(c.path, records);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_TRUE(result.error.contains(QLatin1String(c.reasonContains)))
            << c.name << ": " << result.error.toStdString();
        EXPECT_EQ(records, std::vector<Sample>(2, patternSample(9))) << c.name;
    }
    // Nothing was created by looking for the missing file.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nothing.KRD"))));
}

TEST(ReadRecordFile, ReadOnlyFileInReadOnlyFolderLoads)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.KRD"));
    QFile::copy(fixture("recording-3.KRD"), path);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    {
        const WithoutFileAccessCapabilities asUser;
        std::vector<Sample> records;
        const RecordFileResult result = ReadRecordFile(path, records);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(records.size(), 3u);
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(ReadRecordFile, UnreadableFileFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("secret.KRD"));
    QFile::copy(fixture("recording-3.KRD"), path);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    const WithoutFileAccessCapabilities asUser;
    std::vector<Sample> records;
    const RecordFileResult result = ReadRecordFile(path, records);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QLatin1String("Permission denied"))) << result.error.toStdString();
    EXPECT_TRUE(records.empty());
}

// ---- writing -----------------------------------------------------------------

TEST(WriteRecordFile, SizeAndRoundTripIncludingPadding)
{
    QTemporaryDir dir;
    for (std::uint32_t n : {0u, 1u, 2u, 1000u}) {
        const SampleStore store = patternStore(n);
        const QString path = dir.filePath(QStringLiteral("n%1.KRD").arg(n));
        const RecordFileResult written = WriteRecordFile(path, store);
        ASSERT_TRUE(written.ok) << written.error.toStdString();
        const QByteArray bytes = readBytes(path);
        EXPECT_EQ(bytes.size(), qsizetype(32 * (n + 1))) << n;
        EXPECT_EQ(bytes, storeBytes(store, std::int32_t(n))) << n;

        std::vector<Sample> records;
        ASSERT_TRUE(ReadRecordFile(path, records).ok);
        SampleStore reloaded;
        reloaded.Load(records);
        EXPECT_EQ(reloaded.SampleCount, std::int32_t(n));
        EXPECT_EQ(reloaded.Samples, store.Samples) << n;
    }
}

TEST(WriteRecordFile, WritesOnlyUpToSampleCount)
{
    SampleStore store = patternStore(50);
    AcquisitionState acquisition;
    ResetRecording(store, acquisition);
    store.statistics() = Sample();
    ASSERT_EQ(store.Samples.size(), 51u); // the old records are still in the array
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("after-reset.KRD"));
    ASSERT_TRUE(WriteRecordFile(path, store).ok);
    EXPECT_EQ(readBytes(path), QByteArray(32, '\0'));
}

TEST(WriteRecordFile, ReplacesAnExistingFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.KRD"));
    writeBytes(path, QByteArray(96, 'x'));
    const SampleStore store = patternStore(5);
    ASSERT_TRUE(WriteRecordFile(path, store).ok);
    EXPECT_EQ(readBytes(path), storeBytes(store, 5));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rec.KRD")});
}

TEST(WriteRecordFile, ReadOnlyFolderFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.KRD"));
    const QByteArray old = readBytes(fixture("recording-3.KRD"));
    writeBytes(path, old);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    {
        const WithoutFileAccessCapabilities asUser;
        ASSERT_FALSE(canCreateFileIn(dir.path()));
        const RecordFileResult result = WriteRecordFile(path, patternStore(10));
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readBytes(path), old);
}

TEST(WriteRecordFile, MissingFolderFails)
{
    QTemporaryDir dir;
    const RecordFileResult result = WriteRecordFile(dir.filePath(QStringLiteral("no/such/rec.KRD")), patternStore(1));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

// The file-size limit makes the disk "full" after 64 KiB for this process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

TEST(WriteRecordFile, FullDiskFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.KRD"));
    const QByteArray old = readBytes(fixture("recording-3.KRD"));
    writeBytes(path, old);
    RecordFileResult result;
    {
        const FileSizeLimit limit(64 * 1024);
        result = WriteRecordFile(path, patternStore(10000));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QLatin1String("too large"), Qt::CaseInsensitive)) << result.error.toStdString();
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rec.KRD")});
}

TEST(WriteRecordFile, InconsistentStoreIsRefused)
{
    SampleStore store;
    store.SampleCount = 3; // records 1..3 do not exist
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.KRD"));
    EXPECT_FALSE(WriteRecordFile(path, store).ok);
    EXPECT_FALSE(QFile::exists(path));
}

// ---- CSV -----------------------------------------------------------------------

const char FixtureCsv[] =
    "index,stamp,seconds,first_value,first_unit,second_value,second_unit,second_function,note,symbols2,mode\n"
    "1,2002-06-07T10:37:00.000,1234.5,100.5,kW,0.87,,PF,\u04241,04,02\n"
    "2,2002-06-07T10:37:05.500,1240,200,A,05:30,min,Time,\u2211W,90,40\n";

TEST(WriteSamplesCsv, FixtureAsCsv)
{
    std::vector<Sample> records;
    ASSERT_TRUE(ReadRecordFile(fixture("recording-3.KRD"), records).ok);
    SampleStore store;
    store.Load(records);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteSamplesCsv(buffer, store).ok);
    EXPECT_EQ(buffer.data().toStdString(), FixtureCsv);
}

TEST(WriteSamplesCsv, SamplesUpToSampleCountOnly)
{
    SampleStore store = patternStore(3);
    store.SampleCount = 1;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteSamplesCsv(buffer, store).ok);
    const QList<QByteArray> lines = buffer.data().split('\n');
    ASSERT_EQ(lines.size(), 3); // header, sample 1, empty rest after the last line feed
    EXPECT_EQ(lines[0], QByteArray(SamplesCsvHeader));
    EXPECT_TRUE(lines[1].startsWith("1,2002-06-07T00:00:01.000,0.5,-99.75,"));
    EXPECT_TRUE(lines[2].isEmpty());
}

TEST(WriteSamplesCsv, LargeRecordingSpansManyChunks)
{
    const SampleStore store = patternStore(100000);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteSamplesCsv(buffer, store).ok);
    const QList<QByteArray> lines = buffer.data().split('\n');
    ASSERT_EQ(lines.size(), 100002);
    for (std::size_t i : {1u, 32767u, 100000u}) {
        const Sample &s = store.Samples[i];
        const QByteArray expected =
            QByteArray::number(qulonglong(i)) + ',' + QByteArray::fromStdString(OleDateIsoText(s.Stamp));
        EXPECT_TRUE(lines[qsizetype(i)].startsWith(expected + ',')) << i;
        EXPECT_EQ(lines[qsizetype(i)].count(','), 10) << i;
    }
}

TEST(WriteSamplesCsv, DeviceFailureIsReported)
{
    QFile readOnly(fixture("recording-3.KRD"));
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    EXPECT_FALSE(WriteSamplesCsv(readOnly, patternStore(2)).ok);
}

TEST(WriteCsvFile, WritesTheCsvText)
{
    std::vector<Sample> records;
    ASSERT_TRUE(ReadRecordFile(fixture("recording-3.KRD"), records).ok);
    SampleStore store;
    store.Load(records);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(WriteCsvFile(path, store).ok);
    EXPECT_EQ(readBytes(path).toStdString(), FixtureCsv);
}

// ---- window after loading ------------------------------------------------------

SampleStore spacedStore(std::int32_t n, float secondsApart)
{
    SampleStore store;
    for (std::int32_t k = 1; k <= n; ++k) {
        Sample s;
        s.Seconds = 100.0f + float(k - 1) * secondsApart;
        store.AppendSample(s);
    }
    return store;
}

struct WindowCase {
    const char *name;
    std::int32_t samples;
    float secondsApart;
    float rightx;
    bool timeMode;
    std::int32_t start;
};

TEST(LoadWindowStart, IndexAndTimeMode)
{
    const WindowCase cases[] = {
        {"index mode, 500 samples: 401..500 shown", 500, 1, 100, false, 400},
        {"index mode, 50 samples: all shown", 50, 1, 100, false, 0},
        {"index mode, 100 samples fit", 100, 1, 100, false, 0},
        {"index mode, 101 samples: the first is exactly one width old", 101, 1, 100, false, 1},
        {"time mode, 2 s apart: the sample exactly 30 s older is not shown", 100, 2, 30, true, 85},
        {"time mode, 2 s apart, width 31", 100, 2, 31, true, 84},
        {"time mode, all within the width", 10, 2, 30, true, 0},
        {"empty recording", 0, 1, 100, false, 0},
        {"a chart width of zero keeps the newest sample", 10, 1, 0, false, 9},
    };
    for (const WindowCase &c : cases) {
        const SampleStore store = spacedStore(c.samples, c.secondsApart);
        EXPECT_EQ(LoadWindowStart(store, c.rightx, c.timeMode), c.start) << c.name;
    }
}

// ---- a long recording (its timing: scripts/record_benchmark.sh) ------------------------

TEST(RecordFileSpeed, MillionSamplesWriteAndRead)
{
    const SampleStore store = patternStore(1000000);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.KRD"));
    ASSERT_TRUE(WriteRecordFile(path, store).ok);
    std::vector<Sample> records;
    ASSERT_TRUE(ReadRecordFile(path, records).ok);
    EXPECT_EQ(records, store.Samples);
}

} // namespace
