// The program as processes of its own, recording from simulated meters: killed
// with SIGKILL, or stopped with SIGTERM, SIGINT or SIGHUP, and then started
// again, the recording it had is offered and comes back; two of them record
// side by side, each into a journal of its own.

#include "RecordFile.h"
#include "RecoveryJournal.h"
#include "RecoveryTestSupport.h"
#include "SampleTexts.h"
#include "SettingsStore.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

const QString Tool = ToolPath();
const QString Child = QStringLiteral(AMPERO_BINARY_DIR "/tests/recovery/recovery_child");

} // namespace

TEST(KilledProgram, TheRecordingOfAProgramKilledWhileRecordingIsRecoveredAtTheNextStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString meter = dir.filePath(QStringLiteral("meter"));
    {
        SettingsStore settings(config + QStringLiteral("/RQ4417/RQ4417.conf"));
        settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM1"), meter);
        settings.sync();
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);

    QProcess simulator;
    simulator.start(Tool, {QStringLiteral("simulate"), QStringLiteral("--scenario"), QStringLiteral("ramp"),
                           QStringLiteral("--rate"), QStringLiteral("20"), QStringLiteral("--link"), meter});
    ASSERT_TRUE(simulator.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(meter); }, 10000));

    // Recording until three seconds' worth of samples are in, then killed.
    QProcess recording;
    recording.setProcessEnvironment(environment);
    recording.start(Child, {QStringLiteral("record")});
    ChildReport appended;
    const bool enough = WaitUntil(
        [&] {
            appended.take(recording);
            return appended.records.size() >= 60 || recording.state() == QProcess::NotRunning;
        },
        20000);
    ASSERT_TRUE(enough && appended.records.size() >= 60)
        << "the recording run: " << recording.readAllStandardError().constData();
    recording.kill();
    ASSERT_TRUE(recording.waitForFinished(5000));
    EXPECT_EQ(recording.exitStatus(), QProcess::CrashExit);
    appended.take(recording);
    simulator.kill();
    simulator.waitForFinished(5000);
    ASSERT_TRUE(QFileInfo::exists(data + QStringLiteral("/RQ4417/recovery.KRD")));

    // Started again: asked, answered Yes.
    QProcess recovering;
    recovering.setProcessEnvironment(environment);
    recovering.start(Child, {QStringLiteral("recover")});
    ASSERT_TRUE(recovering.waitForFinished(20000));
    ASSERT_EQ(recovering.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(recovering.exitCode(), 0) << recovering.readAllStandardError().constData();
    ChildReport recovered;
    recovered.take(recovering);
    EXPECT_EQ(recovered.questions, QStringList{QString::fromLatin1(RecoveryJournal::RecoverQuestion)});
    EXPECT_EQ(recovered.other,
              (QStringList{QStringLiteral("M 1"), QStringLiteral("T Ampero Clamp    "), QStringLiteral("F ")}));

    // Records 0..N, every one of them.
    ASSERT_GE(recovered.records.size(), 2u);
    const std::int32_t count = recovered.records.rbegin()->first;
    ASSERT_EQ(recovered.records.size(), std::size_t(count) + 1);

    // Every sample the killed run had appended is back, except at most those
    // of its last two seconds; none is changed.
    const float lastSeconds = appended.records.rbegin()->second.Seconds;
    std::int32_t lost = 0;
    for (const auto &[index, sample] : appended.records) {
        if (index <= count) {
            EXPECT_EQ(recovered.records[index], sample) << "sample " << index;
        } else {
            ++lost;
            EXPECT_LT(lastSeconds - sample.Seconds, 2.0f) << "sample " << index << " is lost";
        }
    }
    std::printf("[          ] %d samples appended before the kill, %d recovered, %d lost\n",
                int(appended.records.size()), int(count), int(lost));

    // Samples past the last one reported were real samples of the same run.
    // Time never runs backwards; two frames read in one burst may share a
    // tick of the two-decimal seconds.
    for (std::int32_t i = 2; i <= count; ++i) {
        EXPECT_GE(recovered.records[i].Seconds, recovered.records[i - 1].Seconds) << i;
        EXPECT_EQ(FirstUnitName(recovered.records[i].FirstUnit), "A") << i;
    }

    // The statistics, worked out here on their own.
    std::int32_t maxIndex = 1, minIndex = 1;
    double sum = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        const float value = recovered.records[i].FirstValue;
        if (value > recovered.records[maxIndex].FirstValue)
            maxIndex = i;
        if (value < recovered.records[minIndex].FirstValue)
            minIndex = i;
        sum += value;
    }
    const Sample &statistics = recovered.records[0];
    EXPECT_FLOAT_EQ(StatisticsRecord::maxIndex(statistics), float(maxIndex));
    EXPECT_FLOAT_EQ(StatisticsRecord::minIndex(statistics), float(minIndex));
    EXPECT_NEAR(StatisticsRecord::mean(statistics), sum / count, 1e-3 * (1 + std::abs(sum / count)));
}

namespace {

// The user of the child programs: settings, data folder and simulated meters
// in a folder of the test's own.
class ProgramProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    }

    void TearDown() override
    {
        for (auto &process : processes) {
            process->kill();
            process->waitForFinished(5000);
        }
        // Left by children that were killed; nobody holds them any more.
        for (const QString &lock : serialLockFiles())
            QFile::remove(lock);
    }

    // A simulated meter on its own pseudo-terminal, as COM<port>.
    void startMeter(int port, const QString &scenario)
    {
        const QString link = dir.filePath(QStringLiteral("meter%1").arg(port));
        {
            SettingsStore settings(settingsFile);
            settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM%1").arg(port), link);
            settings.sync();
        }
        QProcess &simulator =
            start(Tool, {QStringLiteral("simulate"), QStringLiteral("--scenario"), scenario, QStringLiteral("--rate"),
                         QStringLiteral("20"), QStringLiteral("--link"), link});
        ASSERT_TRUE(simulator.waitForStarted(5000));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(link); }, 10000));
    }

    QProcess &start(const QString &program, const QStringList &arguments)
    {
        processes.push_back(std::make_unique<QProcess>());
        QProcess &process = *processes.back();
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        return process;
    }

    // Reads what the child reports until it has at least `count` samples.
    static bool waitForSamples(QProcess &child, ChildReport &report, std::size_t count)
    {
        return WaitUntil(
                   [&] {
                       report.take(child);
                       return report.records.size() >= count || child.state() == QProcess::NotRunning;
                   },
                   30000) &&
               report.records.size() >= count;
    }

    // `records` are those the child appended, in order, of which at most the
    // last two seconds' are missing.
    static void expectSamplesOf(const std::vector<Sample> &records, const ChildReport &report, const char *what)
    {
        ASSERT_GE(records.size(), 2u) << what;
        const float lastSeconds = report.records.rbegin()->second.Seconds;
        for (const auto &[index, sample] : report.records) {
            if (std::size_t(index) < records.size())
                EXPECT_EQ(records[std::size_t(index)], sample) << what << " sample " << index;
            else
                EXPECT_LT(lastSeconds - sample.Seconds, 2.0f) << what << " lost sample " << index;
        }
        // Never backwards (two samples within 5 ms share their rounded seconds).
        for (std::size_t i = 2; i < records.size(); ++i)
            EXPECT_GE(records[i].Seconds, records[i - 1].Seconds) << what << " sample " << i;
    }

    static void expectJournalOf(const QString &journal, const ChildReport &report)
    {
        std::vector<Sample> records;
        const RecordFileResult read = ReadRecordFile(journal, records);
        ASSERT_TRUE(read.ok) << qPrintable(journal) << ": " << qPrintable(read.error);
        expectSamplesOf(records, report, qPrintable(journal));
    }

    // The lock files QSerialPort made for the meters of this test.
    QStringList serialLockFiles() const
    {
        QStringList found;
        const QString mine = QFileInfo(dir.path()).fileName();
        for (const QString &folder :
             {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"), QStringLiteral("/tmp"), QDir::tempPath()}) {
            for (const QFileInfo &entry : QDir(folder).entryInfoList({QStringLiteral("LCK..*")}, QDir::Files)) {
                if (entry.fileName().contains(mine) && !found.contains(entry.canonicalFilePath()))
                    found << entry.canonicalFilePath();
            }
        }
        return found;
    }

    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString settingsFile = config + QStringLiteral("/RQ4417/RQ4417.conf");
    const QString journal = data + QStringLiteral("/RQ4417/recovery.KRD");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> processes;
};

const QString Question = QString::fromLatin1(RecoveryJournal::RecoverQuestion);

} // namespace

// A second window with the same data folder neither offers nor deletes the
// first one's live journal, and both record at once, each into its own.
TEST_F(ProgramProcessTest, TwoWindowsRecordSideBySideEachIntoAJournalOfItsOwn)
{
    startMeter(1, QStringLiteral("ramp"));
    startMeter(2, QStringLiteral("steady"));
    QProcess &first = start(Child, {QStringLiteral("record"), QStringLiteral("1")});
    ChildReport firstReport;
    ASSERT_TRUE(waitForSamples(first, firstReport, 20)) << first.readAllStandardError().constData();

    // Answers No to any recovery question, which used to delete the first one's journal.
    QProcess &second = start(Child, {QStringLiteral("record"), QStringLiteral("2")});
    ChildReport secondReport;
    ASSERT_TRUE(waitForSamples(second, secondReport, 40)) << second.readAllStandardError().constData();
    ASSERT_TRUE(waitForSamples(first, firstReport, firstReport.records.size() + 20));
    EXPECT_TRUE(firstReport.questions.isEmpty()) << qPrintable(firstReport.questions.join(QLatin1Char('|')));
    EXPECT_TRUE(secondReport.questions.isEmpty()) << qPrintable(secondReport.questions.join(QLatin1Char('|')));

    // Both crash.
    for (QProcess *child : {&first, &second}) {
        child->kill();
        ASSERT_TRUE(child->waitForFinished(5000));
        EXPECT_EQ(child->exitStatus(), QProcess::CrashExit);
    }
    firstReport.take(first);
    secondReport.take(second);
    const QString secondJournal = RecoveryJournal::JournalPath(journal, 2);
    expectJournalOf(journal, firstReport);
    expectJournalOf(secondJournal, secondReport);

    // Started again: one question for each journal; No to the first deletes
    // only that one, Yes to the second brings back the second window's recording.
    QProcess &recovering = start(Child, {QStringLiteral("recover"), QStringLiteral("no"), QStringLiteral("yes")});
    ASSERT_TRUE(recovering.waitForFinished(20000));
    ASSERT_EQ(recovering.exitCode(), 0) << recovering.readAllStandardError().constData();
    ChildReport recovered;
    recovered.take(recovering);
    EXPECT_EQ(recovered.questions, (QStringList{Question, Question}));
    EXPECT_FALSE(QFileInfo::exists(journal));
    EXPECT_TRUE(QFileInfo::exists(secondJournal));
    std::vector<Sample> records;
    for (const auto &[index, sample] : recovered.records) {
        ASSERT_EQ(std::size_t(index), records.size()) << "records 0..N, every one of them";
        records.push_back(sample);
    }
    expectSamplesOf(records, secondReport, "the recovered recording");
}

// A desktop logging out, `kill`, Ctrl+C or a closed terminal: the window
// ends at once with exit code 0, the serial port and its lock file are
// released, the port number is written, and every sample is recovered at the
// next start.
TEST_F(ProgramProcessTest, AProgramStoppedBySignalEndsCleanlyAndItsRecordingIsRecovered)
{
    startMeter(1, QStringLiteral("ramp"));
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        {
            SettingsStore settings(settingsFile);
            settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("ComPort"), QStringLiteral("3"));
            settings.sync();
        }
        QProcess &recording = start(Child, {QStringLiteral("record"), QStringLiteral("1")});
        ChildReport appended;
        ASSERT_TRUE(waitForSamples(recording, appended, 30)) << recording.readAllStandardError().constData();
        const QStringList serialLocks = serialLockFiles();
        ASSERT_EQ(serialLocks.size(), 1) << "QSerialPort's lock file of the meter";

        ASSERT_EQ(::kill(pid_t(recording.processId()), signalNumber), 0);
        ASSERT_TRUE(recording.waitForFinished(15000));
        EXPECT_EQ(recording.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(recording.exitCode(), 0) << recording.readAllStandardError().constData();
        appended.take(recording);
        EXPECT_FALSE(QFileInfo::exists(serialLocks[0])) << qPrintable(serialLocks[0]);
        EXPECT_EQ(
            SettingsStore(settingsFile).GetSetting(QStringLiteral("ComPort"), QStringLiteral("ComPort"), QString()),
            QStringLiteral("1"));
        ASSERT_TRUE(QFileInfo::exists(journal));

        QProcess &recovering = start(Child, {QStringLiteral("recover")});
        ASSERT_TRUE(recovering.waitForFinished(20000));
        ASSERT_EQ(recovering.exitCode(), 0) << recovering.readAllStandardError().constData();
        ChildReport recovered;
        recovered.take(recovering);
        EXPECT_EQ(recovered.questions, QStringList{Question});
        // Every sample, the last ones too.
        ASSERT_EQ(recovered.records.size(), appended.records.size() + 1);
        for (const auto &[index, sample] : appended.records)
            EXPECT_EQ(recovered.records[index], sample) << "sample " << index;
        // The recovering run ended as a crash does, so the journal is still there.
        ASSERT_TRUE(QFile::remove(journal));
    }
}
