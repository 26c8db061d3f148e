// `amperotool record` as a field logger: every sample written once as it
// comes, files split by time, limit alarms on standard error and through
// --on-alarm, against a pseudo-terminal meter.

#include "Frames.h"
#include "MeterScenario.h"
#include "OleDate.h"
#include "PtyFeeder.h"
#include "RecordFile.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <sys/stat.h>

namespace {

const QString Tool = ToolPath();

class FieldRecordTest : public ::testing::Test, protected RecordingTool {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
        ASSERT_TRUE(pty->isValid());
    }

    // Records from the pseudo-terminal meter.
    bool startRecording(const QStringList &arguments)
    {
        return RecordingTool::startRecording(QStringList{QStringLiteral("--port"), pty->linkPath()} + arguments);
    }

    static ino_t inodeOf(const QString &file)
    {
        struct stat info {};
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_ino : 0;
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyFeeder> pty;
};

QMap<QString, QString> readEnvironmentFile(const QString &path)
{
    QMap<QString, QString> variables;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return variables;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            variables.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
    return variables;
}

} // namespace

// The file grows by the new records in place, it is never written anew: the
// same file (inode) all along, up to date as soon as a sample is taken.
TEST_F(FieldRecordTest, EachSampleIsAddedToTheSameFileAsItComes)
{
    const QString out = dir.filePath(QStringLiteral("log.KRD"));
    ASSERT_TRUE(startRecording({QStringLiteral("--out"), out}));
    const ino_t inode = inodeOf(out);
    ASSERT_NE(inode, 0u);
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(pty->write(ReadingFrame("000" + std::to_string(i))));
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 4 * 32; }, 10000));
    for (int i = 4; i <= 6; ++i) {
        ASSERT_TRUE(pty->write(ReadingFrame("000" + std::to_string(i))));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == (i + 1) * 32; }, 10000)) << i;
        EXPECT_EQ(inodeOf(out), inode) << i;
        // The statistics record follows each sample.
        std::vector<Sample> records = ReadRecording(out);
        ASSERT_EQ(records.size(), std::size_t(i) + 1);
        EXPECT_FLOAT_EQ(StatisticsRecord::maxIndex(records[0]), float(i));
    }
    ASSERT_TRUE(stop());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    EXPECT_EQ(inodeOf(out), inode);
    EXPECT_EQ(ReadRecording(out).size(), 7u);
    EXPECT_TRUE(stderrText().contains(QStringLiteral("6 samples in %1").arg(out))) << qPrintable(stderrText());
}

// The ramp climbs to 999.9 A in 100 frames and drops back to 0: once above
// the high limit and once back below it, two events and two commands.
TEST_F(FieldRecordTest, ARampPastTheHighLimitAndBackRaisesTwoAlarms)
{
    const QString out = dir.filePath(QStringLiteral("ramp.KRD"));
    const QString events = dir.filePath(QStringLiteral("events"));
    ASSERT_TRUE(QDir().mkpath(events));
    // The user's script writes the environment it gets to a file of its own.
    const QString script = dir.filePath(QStringLiteral("on-alarm.sh"));
    QFile scriptFile(script);
    ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
    scriptFile.write("#!/bin/sh\nenv > \"$1/$AMPERO_ALARM_INDEX.env\"\n");
    scriptFile.close();
    ASSERT_TRUE(scriptFile.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString onAlarm = QStringLiteral("%1 \"%2\"").arg(script, events);
    ASSERT_TRUE(startRecording({QStringLiteral("--out"), out, QStringLiteral("--high1"), QStringLiteral("505"),
                                QStringLiteral("--low1"), QStringLiteral("-50"), QStringLiteral("--hysteresis"),
                                QStringLiteral("10"), QStringLiteral("--on-alarm"), onAlarm}));
    ScenarioSettings ramp;
    ramp.scenario = Scenario::Ramp;
    ScenarioGenerator generator(ramp);
    constexpr int Frames = 120;
    // One frame after the other is in the file, as from the meter.
    for (int i = 0; i < Frames; ++i) {
        ASSERT_TRUE(pty->write(generator.next().bytes));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == (i + 2) * 32; }, 10000)) << i;
    }
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == (Frames + 1) * 32; }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return QDir(events).entryList(QDir::Files).size() >= 2; }, 10000));
    ASSERT_TRUE(stop());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());

    const QStringList alarmLines =
        stderrText().split(QLatin1Char('\n')).filter(QStringLiteral("amperotool record: alarm: "));
    ASSERT_EQ(alarmLines.size(), 2) << qPrintable(stderrText());
    EXPECT_TRUE(alarmLines[0].contains(QLatin1String("first display above high limit 505 A: 509.9 A at ")))
        << qPrintable(alarmLines[0]);
    EXPECT_TRUE(alarmLines[0].endsWith(QLatin1String(", sample 52"))) << qPrintable(alarmLines[0]);
    EXPECT_TRUE(alarmLines[1].contains(QLatin1String("first display back below high limit 505 A: 0 A at ")))
        << qPrintable(alarmLines[1]);
    EXPECT_TRUE(alarmLines[1].endsWith(QLatin1String(", sample 102"))) << qPrintable(alarmLines[1]);

    EXPECT_EQ(QDir(events).entryList(QDir::Files), (QStringList{QStringLiteral("102.env"), QStringLiteral("52.env")}));
    const std::vector<Sample> records = ReadRecording(out);
    ASSERT_EQ(records.size(), std::size_t(Frames) + 1);
    struct Expected {
        const char *file;
        const char *direction;
        const char *value;
        std::size_t index;
    };
    for (const Expected &row :
         {Expected{"52.env", "above-high", "509.9", 52}, Expected{"102.env", "back-below-high", "0", 102}}) {
        const QMap<QString, QString> env = readEnvironmentFile(QDir(events).filePath(QLatin1String(row.file)));
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_DISPLAY")), QStringLiteral("first")) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_LIMIT")), QStringLiteral("high")) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_DIRECTION")), QLatin1String(row.direction)) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_VALUE")), QLatin1String(row.value)) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_THRESHOLD")), QStringLiteral("505")) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_UNIT")), QStringLiteral("A")) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_INDEX")), QString::number(row.index)) << row.file;
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_FILE")), out) << row.file;
        // The time is the stamp of that sample in the file.
        EXPECT_EQ(env.value(QStringLiteral("AMPERO_ALARM_TIME")),
                  QString::fromStdString(OleDateIsoText(records[row.index].Stamp)))
            << row.file;
    }
}

TEST_F(FieldRecordTest, SplitEveryStartsNewFilesOnTheCommandLine)
{
    const QString out = dir.filePath(QStringLiteral("site.KRD"));
    ASSERT_TRUE(startRecording({QStringLiteral("--out"), out, QStringLiteral("--split-every"), QStringLiteral("1s")}));
    EXPECT_TRUE(stderrText().contains(
        QStringLiteral("into files %1-YYYYMMDD-HHMMSS.KRD").arg(dir.filePath(QStringLiteral("site")))))
        << qPrintable(stderrText());
    constexpr int Frames = 26;
    for (int i = 1; i <= Frames; ++i) {
        ASSERT_TRUE(pty->write(ReadingFrame(std::to_string(1000 + i))));
        RunEventsFor(100); // the frames spread over time, which splits the files
    }
    ASSERT_TRUE(stop());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    EXPECT_TRUE(stderrText().contains(QLatin1String("recording goes on in"))) << qPrintable(stderrText());

    EXPECT_FALSE(QFileInfo::exists(out));
    QStringList files = QDir(dir.path()).entryList({QStringLiteral("site-*")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 2) << qPrintable(files.join(QLatin1Char(' ')));
    const QRegularExpression name(QStringLiteral("^site-(\\d{8}-\\d{6})(-\\d+)?\\.KRD$"));
    std::vector<float> values;
    for (const QString &file : files) {
        const QRegularExpressionMatch match = name.match(file);
        ASSERT_TRUE(match.hasMatch()) << qPrintable(file);
        const std::vector<Sample> records = ReadRecording(dir.filePath(file));
        ASSERT_GE(records.size(), 2u) << qPrintable(file);
        EXPECT_EQ(OleDateToLocal(records[1].Stamp).toString(QStringLiteral("yyyyMMdd-HHmmss")), match.captured(1))
            << "named after its first sample: " << qPrintable(file);
        // A second of samples a file, the first one counting from 1 (elapsed
        // seconds are stored rounded, so a span just short of 1 s may read 1).
        EXPECT_LE(records.back().Seconds - records[1].Seconds, 1.0f) << qPrintable(file);
        EXPECT_FLOAT_EQ(StatisticsRecord::minIndex(records[0]), 1.0f) << qPrintable(file);
        for (std::size_t i = 1; i < records.size(); ++i)
            values.push_back(records[i].FirstValue);
    }
    ASSERT_EQ(values.size(), std::size_t(Frames));
    for (int i = 0; i < Frames; ++i)
        EXPECT_FLOAT_EQ(values[std::size_t(i)], float(1001 + i)) << i;
}

TEST_F(FieldRecordTest, OptionsThatMakeNoSenseAreUsageErrors)
{
    const QString out = dir.filePath(QStringLiteral("out.krd"));
    const QList<QStringList> rows = {
        {QStringLiteral("--split-every"), QStringLiteral("0")},
        {QStringLiteral("--split-every"), QStringLiteral("1w")},
        {QStringLiteral("--split-every"), QStringLiteral("-2h")},
        {QStringLiteral("--high1"), QStringLiteral("ten")},
        {QStringLiteral("--low2"), QStringLiteral("nan")},
        {QStringLiteral("--high1"), QStringLiteral("10"), QStringLiteral("--low1"), QStringLiteral("10")},
        {QStringLiteral("--hysteresis"), QStringLiteral("-1")},
        {QStringLiteral("--on-alarm"), QStringLiteral("logger alarm")},
        {QStringLiteral("--high2"), QStringLiteral("250"), QStringLiteral("--on-alarm"), QStringLiteral(" ")},
    };
    for (const QStringList &row : rows) {
        QProcess tool;
        tool.start(Tool, QStringList{QStringLiteral("record"), QStringLiteral("--port"), pty->linkPath(),
                                     QStringLiteral("--out"), out} +
                             row);
        ASSERT_TRUE(tool.waitForFinished(20000));
        const QString text = QString::fromLocal8Bit(tool.readAllStandardError());
        EXPECT_EQ(tool.exitCode(), 2) << qPrintable(row.join(QLatin1Char(' '))) << ": " << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String("Usage: amperotool record"))) << qPrintable(text);
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

// The service's way of giving options: a file, one option a line, values as
// they stand; the command line comes after it.
TEST_F(FieldRecordTest, OptionsComeFromAConfigFile)
{
    const QString out = dir.filePath(QStringLiteral("from config.KRD"));
    const QString config = dir.filePath(QStringLiteral("site.conf"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("# a logger in the field\n"
                              "port = %1\n"
                              "\n"
                              "out = %2\n"
                              "  ; the limits\n"
                              "high1 = 100\n"
                              "high1 = 50\n")
                   .arg(pty->linkPath(), out)
                   .toUtf8());
    file.close();
    ASSERT_TRUE(RecordingTool::startRecording(
        {QStringLiteral("--config"), config, QStringLiteral("--high1"), QStringLiteral("20")}))
        << qPrintable(stderrText());
    for (const char *value : {"0010", "0030"})
        ASSERT_TRUE(pty->write(ReadingFrame(value)));
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(out).size() == 3 * 32; }, 10000));
    ASSERT_TRUE(stop());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    // The last word was the command line's: 30 is above 20 only.
    EXPECT_TRUE(stderrText().contains(QLatin1String("alarm: first display above high limit 20 A: 30 A")))
        << qPrintable(stderrText());
}

TEST_F(FieldRecordTest, AConfigFileThatCannotBeUsedIsAUsageError)
{
    struct Row {
        const char *name;
        QByteArray text;
        const char *says;
    };
    const Row rows[] = {
        {"missing file", QByteArray(), "cannot read"},
        {"no option name", "port = /dev/ttyUSB0\n= 5\n", "line 2"},
        {"option with dashes", "--port = /dev/ttyUSB0\n", "line 1"},
        {"another config", "config = /etc/ampero/other.conf\n", "names another config file"},
        {"an option it does not know", "speed = 9600\n", "unknown option '--speed'"},
    };
    for (const Row &row : rows) {
        const QString config = dir.filePath(QStringLiteral("bad.conf"));
        QFile::remove(config);
        if (!row.text.isNull()) {
            QFile file(config);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(row.text);
        }
        QProcess tool;
        tool.start(Tool, {QStringLiteral("record"), QStringLiteral("--config"), config});
        ASSERT_TRUE(tool.waitForFinished(20000));
        const QString text = QString::fromLocal8Bit(tool.readAllStandardError());
        EXPECT_EQ(tool.exitCode(), 2) << row.name << ": " << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String(row.says))) << row.name << ": " << qPrintable(text);
    }
}
