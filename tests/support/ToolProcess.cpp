#include "ToolProcess.h"

#include "RecordFile.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <csignal>

QString ToolPath()
{
    return QStringLiteral(AMPERO_BINARY_DIR "/tools/amperotool");
}

bool RecordingTool::startRecording(const QStringList &arguments)
{
    process.setProgram(ToolPath());
    process.setArguments(QStringList{QStringLiteral("record")} + arguments);
    process.start();
    return process.waitForStarted(20000) &&
           WaitUntil([&] { return stderrText().contains(QLatin1String("recording")); }, 20000);
}

QString RecordingTool::stderrText()
{
    errors += QString::fromLocal8Bit(process.readAllStandardError());
    return errors;
}

void RecordingTool::sendSignal(int number)
{
    ::kill(pid_t(process.processId()), number);
}

bool RecordingTool::finish(int timeoutMs)
{
    return WaitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
}

bool RecordingTool::stop(int timeoutMs)
{
    sendSignal(SIGTERM);
    return finish(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
}

std::vector<Sample> ReadRecording(const QString &file)
{
    std::vector<Sample> records;
    const RecordFileResult read = ReadRecordFile(file, records);
    EXPECT_TRUE(read.ok) << qPrintable(file) << ": " << qPrintable(read.error);
    EXPECT_FALSE(read.trailingPartialRecord) << qPrintable(file);
    return records;
}
