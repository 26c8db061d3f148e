// The program killed with SIGKILL while it records from a simulated meter,
// then started again: the recording it had is offered, and comes back.

#include "PtyFeeder.h"
#include "RecoveryJournal.h"
#include "SampleTexts.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <map>

namespace {

const QString Tool = QStringLiteral(AMPERO_BINARY_DIR "/tools/amperotool");
const QString Child = QStringLiteral(AMPERO_BINARY_DIR "/tests/recovery/recovery_child");

// What a child run printed, line by line as it arrives.
struct ChildReport {
    QStringList questions;
    QStringList other; // "M ...", "T ...", "F ..." lines
    std::map<std::int32_t, Sample> records;

    void take(QProcess &process)
    {
        pending += process.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.startsWith("Q ")) {
                questions << QString::fromUtf8(line.mid(2));
            } else if (line.startsWith("S ")) {
                const QList<QByteArray> parts = line.split(' ');
                const QByteArray bytes = QByteArray::fromHex(parts.value(2));
                if (parts.size() == 3 && bytes.size() == qsizetype(SampleRecordSize))
                    records[parts[1].toInt()] = Sample::fromBytes(reinterpret_cast<const std::uint8_t *>(bytes.constData()));
                else
                    ADD_FAILURE() << "garbled line: " << line.constData();
            } else {
                other << QString::fromUtf8(line);
            }
        }
    }

    QByteArray pending;
};

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
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(meter); }, 5000));

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
    for (std::int32_t i = 2; i <= count; ++i) {
        EXPECT_GT(recovered.records[i].Seconds, recovered.records[i - 1].Seconds) << i;
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
