// `amperotool record` on the ways it can end that the user does not choose: a
// closed terminal, a reader of its messages that went away, an output folder
// that vanished, a kill. Afterwards the output is a complete recording (or is
// not there), and nothing else is left beside it.

#include "Frames.h"
#include "PtyFeeder.h"
#include "RecordFile.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString Tool = ToolPath();

class RecordExitTest : public ::testing::Test, protected RecordingTool {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
        ASSERT_TRUE(pty->isValid());
    }

    bool startRecording(const QString &out)
    {
        return RecordingTool::startRecording({QStringLiteral("--port"), pty->linkPath(), QStringLiteral("--out"), out});
    }

    // Sends each value as a frame and waits until it is a sample in the file,
    // which takes every sample as it comes.
    void sendValues(const QString &file, const std::vector<std::string> &values, std::uint8_t unit = UnitA)
    {
        for (const std::string &value : values) {
            const qint64 before = QFileInfo(file).size();
            ASSERT_TRUE(pty->write(ReadingFrame(value, unit)));
            ASSERT_TRUE(WaitUntil([&] { return QFileInfo(file).size() == before + 32; }, 10000)) << value;
        }
    }

    bool finish() { return RecordingTool::finish(10000); }

    // The whole recording: record 0 and one sample for each value.
    void expectRecording(const QString &file, const std::vector<float> &values)
    {
        std::vector<Sample> records;
        const RecordFileResult read = ReadRecordFile(file, records);
        ASSERT_TRUE(read.ok) << qPrintable(read.error);
        EXPECT_FALSE(read.trailingPartialRecord);
        ASSERT_EQ(records.size(), values.size() + 1);
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_FLOAT_EQ(records[i + 1].FirstValue, values[i]) << i;
    }

    QStringList filesLeft() const
    {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System |
                       QDir::NoSymLinks);
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyFeeder> pty;
};

} // namespace

TEST_F(RecordExitTest, AClosedTerminalSavesTheLastSamplesAndEndsNormally)
{
    const QString out = dir.filePath(QStringLiteral("hangup.krd"));
    ASSERT_TRUE(startRecording(out));
    sendValues(out, {"0001", "0002", "0003", "0004"});
    sendSignal(SIGHUP);
    ASSERT_TRUE(finish());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    expectRecording(out, {1, 2, 3, 4});
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("hangup.krd")});
}

TEST_F(RecordExitTest, UnderNohupAClosedTerminalDoesNotStopIt)
{
    const QString out = dir.filePath(QStringLiteral("nohup.krd"));
    process.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
    ASSERT_TRUE(startRecording(out));
    sendValues(out, {"0001"});
    sendSignal(SIGHUP);
    RunEventsFor(400); // a stretch in which the hangup must not end it
    ASSERT_EQ(process.state(), QProcess::Running);
    sendValues(out, {"0002"});
    sendSignal(SIGTERM);
    ASSERT_TRUE(finish());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    expectRecording(out, {1, 2});
}

// `amperotool record ... 2>&1 | less`, and less is quit: its messages find no
// reader any more.
TEST_F(RecordExitTest, AReaderOfItsMessagesThatWentAwayDoesNotEndIt)
{
    const QString out = dir.filePath(QStringLiteral("pipe.krd"));
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    process.setChildProcessModifier([pipe] { ::dup2(pipe[1], STDERR_FILENO); });
    process.start(Tool,
                  {QStringLiteral("record"), QStringLiteral("--port"), pty->linkPath(), QStringLiteral("--out"), out});
    const bool started = process.waitForStarted(5000);
    ::close(pipe[0]);
    ::close(pipe[1]);
    ASSERT_TRUE(started);
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(out); }, 10000));
    sendValues(out, {"0001", "0002"});
    // "the measurement function changed" to nobody, at the second frame in
    // volts; the first one alone is dropped as possible damage.
    ASSERT_TRUE(pty->write(ReadingFrame("0009", UnitV)));
    sendValues(out, {"0003"}, UnitV);
    ASSERT_EQ(process.state(), QProcess::Running);
    sendSignal(SIGTERM);
    ASSERT_TRUE(finish());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    expectRecording(out, {1, 2, 3});
}

TEST_F(RecordExitTest, AnOutputFolderThatVanishedIsExitCode5WithNothingLeftBehind)
{
    const QString folder = dir.filePath(QStringLiteral("usb-stick"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString out = folder + QStringLiteral("/out.krd");
    ASSERT_TRUE(startRecording(out));
    sendValues(out, {"0001", "0002"});
    ASSERT_TRUE(QDir(folder).removeRecursively());
    sendSignal(SIGTERM);
    ASSERT_TRUE(finish());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 5);
    EXPECT_TRUE(stderrText().contains(QStringLiteral("cannot write %1").arg(out))) << qPrintable(stderrText());
    EXPECT_EQ(filesLeft(), QStringList{});
}

// Nothing can be done about SIGKILL but to have written each sample as it
// came: the file holds every one of them, complete, and alone.
TEST_F(RecordExitTest, AKillLeavesEverySampleWrittenBeforeIt)
{
    const QString out = dir.filePath(QStringLiteral("killed.krd"));
    ASSERT_TRUE(startRecording(out));
    sendValues(out, {"0001", "0002", "0003", "0004"});
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 5 * 32; }, 10000));
    process.kill();
    ASSERT_TRUE(finish());
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
    expectRecording(out, {1, 2, 3, 4});
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("killed.krd")});
}
