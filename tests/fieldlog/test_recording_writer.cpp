// The append-only writer beyond what the journal tests cover: a file taken
// away while it is written, and a folder it must not make.

#include "RecordFile.h"
#include "RecordingWriter.h"
#include "ToolProcess.h"
#include "TrendView.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

void appendSample(SampleStore &store, float value)
{
    Sample s;
    s.FirstValue = value;
    s.FirstUnit = 0x08;
    s.Seconds = float(store.SampleCount) * 0.5f;
    store.AppendSample(s);
    UpdateStatisticsRecord(store);
}

} // namespace

// Writing on into a removed file would lose every sample from then on, with
// no word said: the next sync notices, and the file is written anew whole.
TEST(RecordingWriter, AFileRemovedWhileWrittenIsNoticedAndWrittenAnew)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.krd"));
    SampleStore store;
    RecordingWriter writer(store, path);
    QStringList reported;
    QObject::connect(&writer, &RecordingWriter::problemChanged, [&](const QString &p) { reported << p; });
    for (int i = 1; i <= 5; ++i) {
        appendSample(store, float(i));
        ASSERT_TRUE(writer.update());
    }
    ASSERT_TRUE(writer.flush());
    ASSERT_TRUE(QFile::remove(path));
    appendSample(store, 6);
    writer.update();

    EXPECT_FALSE(writer.flush());
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].startsWith(QStringLiteral("cannot write %1: ").arg(path))) << qPrintable(reported[0]);
    ASSERT_TRUE(WaitUntil([&] { return writer.problem().isEmpty(); }, RecordingWriter::SyncIntervalMs + 3000));
    const std::vector<Sample> records = ReadRecording(path);
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records, store.Samples);
}

TEST(RecordingWriter, AFileReplacedByAnotherIsNoticedToo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.krd"));
    SampleStore store;
    RecordingWriter writer(store, path);
    appendSample(store, 1);
    ASSERT_TRUE(writer.update());
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".old")));
    QFile other(path);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_FALSE(writer.flush());
    EXPECT_TRUE(writer.writeAndSync()) << qPrintable(writer.problem());
    EXPECT_EQ(ReadRecording(path), store.Samples);
}

// A recording onto a stick that was pulled must fail, not fill the folder the
// stick was mounted on.
TEST(RecordingWriter, AFolderThatMustExistIsNotMade)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SampleStore store;
    const QString onStick = dir.filePath(QStringLiteral("stick/out.krd"));
    RecordingWriter writer(store, onStick);
    EXPECT_FALSE(writer.update());
    EXPECT_FALSE(writer.writeAndSync());
    EXPECT_TRUE(writer.problem().startsWith(QStringLiteral("cannot write %1: ").arg(onStick)));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("stick"))));

    const QString journal = dir.filePath(QStringLiteral("data/RQ4417/recovery.KRD"));
    RecordingFileSetup makeFolder;
    makeFolder.makeFolder = [](const QString &folder) {
        return QDir().mkpath(folder) ? QString() : QStringLiteral("cannot make the folder");
    };
    RecordingWriter made(store, journal, makeFolder);
    EXPECT_TRUE(made.update()) << qPrintable(made.problem());
    EXPECT_EQ(ReadRecording(journal).size(), 1u);
}
