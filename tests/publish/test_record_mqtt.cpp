// `amperotool record --mqtt` as a user runs it: a simulated meter on a
// pseudo-terminal, a real broker, and mosquitto_sub watching the topics.

#include "MqttBroker.h"
#include "RecordFile.h"
#include "SampleJson.h"
#include "ToolProcess.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <set>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString Tool = ToolPath();

// `amperotool simulate` with its terminal end at `link`.
class Simulator {
public:
    Simulator(const QString &link, const QStringList &options)
    {
        process_.start(Tool, QStringList{QStringLiteral("simulate"), QStringLiteral("--link"), link} + options);
        started_ = process_.waitForStarted(10000) &&
                   WaitUntil([&] { return process_.canReadLine() || process_.state() != QProcess::Running; }, 20000) &&
                   process_.state() == QProcess::Running;
    }
    ~Simulator()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool started() const { return started_; }

private:
    QProcess process_;
    bool started_ = false;
};

class RecordMqttTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }

    void startRecording(const QStringList &arguments)
    {
        process.start(Tool, QStringList{QStringLiteral("record"), QStringLiteral("--port"), path("meter"),
                                        QStringLiteral("--out"), path("out.krd")} +
                                arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    QString stderrText()
    {
        errors += QString::fromLocal8Bit(process.readAllStandardError());
        return errors;
    }

    bool says(const QString &text, int timeoutMs)
    {
        return WaitUntil([&] { return stderrText().contains(text); }, timeoutMs);
    }

    // Waits for the tool to end by itself, successfully.
    void finish(int timeoutMs)
    {
        ASSERT_TRUE(WaitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs))
            << qPrintable(stderrText());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << qPrintable(stderrText());
    }

    std::vector<Sample> recording()
    {
        std::vector<Sample> records;
        const RecordFileResult result = ReadRecordFile(path("out.krd"), records);
        EXPECT_TRUE(result.ok) << qPrintable(result.error);
        return records;
    }

    // Every sample of the file arrived as its own JSON.
    void expectEverySampleOnce(TopicWatcher &watcher, const std::vector<Sample> &records)
    {
        const std::size_t samples = records.size() - 1;
        ASSERT_TRUE(WaitUntil([&] { return watcher.payloads().size() >= samples; }, 60000))
            << watcher.payloads().size() << " of " << samples << "\n"
            << qPrintable(watcher.diagnostics()) << qPrintable(stderrText());
        RunEventsFor(300); // a while in which no sample may arrive twice
        const std::vector<QByteArray> &payloads = watcher.payloads();
        ASSERT_EQ(payloads.size(), samples) << "every sample exactly once";
        for (std::size_t i = 0; i < samples; ++i) {
            ASSERT_EQ(payloads[i], SampleJson(std::int32_t(i + 1), records[i + 1]))
                << "in order, as in the file: " << i + 1;
        }
    }

    QTemporaryDir dir;
    QProcess process;
    QString errors;
};

} // namespace

TEST_F(RecordMqttTest, MqttOptionsThatCannotWorkAreUsageErrors)
{
    QFile caFile(path("ca.pem"));
    ASSERT_TRUE(caFile.open(QIODevice::WriteOnly));
    caFile.close();
    const QList<QStringList> rows = {
        {"--station", "a"},
        {"--ha-discovery"},
        {"--mqtt", "http://host"},
        {"--mqtt", "mqtt://user:pw@host"},
        {"--mqtt", "mqtt://host", "--mqtt-cafile", path("ca.pem")},
        {"--mqtt", "mqtts://host", "--mqtt-cafile", path("missing.pem")},
        {"--mqtt", "mqtt://host", "--mqtt-user", "u", "--mqtt-password-file", path("missing")},
        {"--mqtt", "mqtt://host", "--mqtt-password-file", path("ca.pem")},
        {"--mqtt", "mqtt://host", "--mqtt-backlog", "a day"},
    };
    for (const QStringList &row : rows) {
        QProcess tool;
        tool.start(Tool, QStringList{"record", "--port", path("meter"), "--out", path("out.krd")} + row);
        ASSERT_TRUE(tool.waitForFinished(20000));
        const QString text = QString::fromLocal8Bit(tool.readAllStandardError());
        EXPECT_EQ(tool.exitCode(), 2) << qPrintable(row.join(' ')) << ": " << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String("Usage: amperotool record"))) << qPrintable(text);
        EXPECT_FALSE(QFile::exists(path("out.krd")));
    }
}

// The meter's full line rate for a minute, the longest of these tests.
TEST_F(RecordMqttTest, EverySampleArrivesOnceAndInOrderAtTheLineRate)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher watcher(broker, QStringLiteral("ampero/+/+/sample"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    Simulator meter(path("meter"), {"--rate", "87", "--scenario", "ramp"});
    ASSERT_TRUE(meter.started());
    startRecording(
        {"--interval", "0", "--duration", "60", "--mqtt", broker.url(), "--station", "site/1", "--meter", "clamp"});
    ASSERT_TRUE(says("publishing to the MQTT broker at 127.0.0.1", 20000)) << qPrintable(stderrText());
    EXPECT_TRUE(stderrText().contains(QLatin1String("ampero/site_1/clamp"))) << qPrintable(stderrText());
    finish(120000);
    const std::vector<Sample> records = recording();
    ASSERT_GT(records.size(), 100u);
    expectEverySampleOnce(watcher, records);
    EXPECT_EQ(RetainedPayloads(broker, "ampero/site_1/clamp/last", 1, 10000),
              (std::vector<QByteArray>{SampleJson(std::int32_t(records.size() - 1), records.back())}));
    EXPECT_EQ(RetainedPayloads(broker, "ampero/site_1/clamp/status", 1, 10000), (std::vector<QByteArray>{"offline"}));
}

TEST_F(RecordMqttTest, ABrokerAwayForTenSecondsGetsTheSamplesItMissed)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher watcher(broker, QStringLiteral("ampero/field/meter/sample"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    TopicWatcher status(broker, QStringLiteral("ampero/field/meter/status"));
    ASSERT_TRUE(status.waitSubscribed(20000));
    Simulator meter(path("meter"), {"--rate", "20", "--scenario", "ramp"});
    ASSERT_TRUE(meter.started());
    startRecording({"--duration", "30", "--mqtt", broker.url(), "--station", "field"});
    ASSERT_TRUE(WaitUntil([&] { return watcher.payloads().size() >= 20; }, 20000)) << qPrintable(stderrText());

    ASSERT_TRUE(broker.stop());
    ASSERT_TRUE(says("trying again", 20000));
    // The outage itself: the broker stays away for ten seconds.
    RunEventsFor(10000);
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    ASSERT_TRUE(says("samples it has not had yet", 40000)) << qPrintable(stderrText());
    finish(60000);
    EXPECT_TRUE(stderrText().contains(QLatin1String("recording goes on")));

    const std::vector<Sample> records = recording();
    const std::int32_t samples = std::int32_t(records.size()) - 1;
    ASSERT_GT(samples, 200) << "thirty seconds at 20 frames a second";
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<std::int32_t> seqs = watcher.sequence();
            return std::set<std::int32_t>(seqs.begin(), seqs.end()).size() >= std::size_t(samples);
        },
        60000))
        << qPrintable(watcher.diagnostics());
    // The first arrival of each sample, in order: every number once, no gap.
    // A sample that was on its way when the broker went may come twice.
    std::vector<std::int32_t> firsts;
    std::set<std::int32_t> seen;
    for (const std::int32_t seq : watcher.sequence()) {
        if (seen.insert(seq).second)
            firsts.push_back(seq);
    }
    std::vector<std::int32_t> expected(static_cast<std::size_t>(samples));
    for (std::int32_t i = 0; i < samples; ++i)
        expected[std::size_t(i)] = i + 1;
    EXPECT_EQ(firsts, expected);
    EXPECT_LE(watcher.payloads().size(), std::size_t(samples) + 200u);
    const std::vector<QByteArray> &said = status.payloads();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front(), "online");
    EXPECT_EQ(said.back(), "offline");
    EXPECT_NE(std::find(said.begin() + 1, said.end(), QByteArray("online")), said.end())
        << "online again after the restart";
}

// The ramp climbs to 999.9 A in 100 frames and drops back to 0: above the
// high limit once and back below it once, with the hysteresis in between.
// Each of the two events is one line on standard error, one run of the
// --on-alarm command and one message on .../alarm.
TEST_F(RecordMqttTest, ARampPastTheHighLimitAndBackIsTwoAlarmsInEveryOutlet)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher alarms(broker, QStringLiteral("ampero/field/meter/alarm"));
    ASSERT_TRUE(alarms.waitSubscribed(20000)) << qPrintable(alarms.diagnostics());
    const QString events = path("events");
    ASSERT_TRUE(QDir().mkpath(events));
    QFile script(path("on-alarm.sh"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nenv > \"$1/$AMPERO_ALARM_INDEX-$AMPERO_ALARM_DIRECTION.env\"\n");
    script.close();
    ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    Simulator meter(path("meter"), {"--rate", "40", "--frames", "120", "--scenario", "ramp"});
    ASSERT_TRUE(meter.started());
    startRecording({"--duration", "8", "--high1", "505", "--hysteresis", "10", "--on-alarm",
                    QStringLiteral("%1 \"%2\"").arg(script.fileName(), events), "--mqtt", broker.url(), "--station",
                    "field"});
    finish(60000);
    const std::vector<Sample> records = recording();
    ASSERT_EQ(records.size(), 121u) << qPrintable(stderrText());

    const QStringList lines =
        stderrText().split(QLatin1Char('\n')).filter(QStringLiteral("amperotool record: alarm: "));
    ASSERT_EQ(lines.size(), 2) << qPrintable(stderrText());
    EXPECT_TRUE(lines[0].contains(QLatin1String("above high limit 505 A: 509.9 A"))) << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].contains(QLatin1String("back below high limit 505 A: 0 A"))) << qPrintable(lines[1]);
    EXPECT_EQ(QDir(events).entryList(QDir::Files),
              (QStringList{QStringLiteral("102-back-below-high.env"), QStringLiteral("52-above-high.env")}));

    const LimitEvent raised{AlarmDisplay::First,
                            AlarmLimit::High,
                            AlarmDirection::AboveHigh,
                            records[52].FirstValue,
                            505,
                            "A",
                            records[52].Stamp,
                            52};
    const LimitEvent cleared{AlarmDisplay::First,
                             AlarmLimit::High,
                             AlarmDirection::BackBelowHigh,
                             records[102].FirstValue,
                             505,
                             "A",
                             records[102].Stamp,
                             102};
    ASSERT_TRUE(WaitUntil([&] { return alarms.payloads().size() >= 2; }, 20000)) << qPrintable(alarms.diagnostics());
    RunEventsFor(500); // a while in which no third alarm may come
    EXPECT_EQ(alarms.payloads(), (std::vector<QByteArray>{AlarmJson(raised), AlarmJson(cleared)}));
    EXPECT_EQ(JsonObject(alarms.payloads().front()).value(QStringLiteral("state")).toString(),
              QStringLiteral("raised"));
    // An event, not a state: nothing is retained on the topic.
    EXPECT_TRUE(RetainedPayloads(broker, QStringLiteral("ampero/field/meter/alarm"), 1, 2000).empty());
}

TEST_F(RecordMqttTest, WrongCredentialsAreReportedAndRecordingGoesOn)
{
    MqttBroker broker({QStringLiteral("logger"), QStringLiteral("right horse")});
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    QFile password(path("password"));
    ASSERT_TRUE(password.open(QIODevice::WriteOnly));
    password.write("wrong horse\n");
    password.close();
    {
        Simulator meter(path("meter"), {"--rate", "20", "--frames", "40"});
        ASSERT_TRUE(meter.started());
        startRecording({"--duration", "4", "--mqtt", broker.url(), "--mqtt-user", "logger", "--mqtt-password-file",
                        path("password")});
        ASSERT_TRUE(
            says(QStringLiteral("the MQTT broker at 127.0.0.1:%1 refused the connection").arg(broker.port()), 20000))
            << qPrintable(stderrText());
        EXPECT_TRUE(stderrText().contains(QLatin1String("not authori"))) << qPrintable(stderrText());
        finish(30000);
        EXPECT_EQ(recording().size(), 41u) << "every frame of the meter is in the file";
        EXPECT_FALSE(stderrText().contains(QLatin1String("wrong horse"))) << "the password is not shown";
    }
    // The same with the right password.
    ASSERT_TRUE(password.open(QIODevice::WriteOnly | QIODevice::Truncate));
    password.write("right horse\n");
    password.close();
    TopicWatcher watcher(broker, QStringLiteral("ampero/+/meter/sample"), {"-u", "logger", "-P", "right horse"});
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    Simulator meter(path("meter"), {"--rate", "20", "--frames", "40"});
    ASSERT_TRUE(meter.started());
    errors.clear();
    startRecording(
        {"--duration", "4", "--mqtt", broker.url(), "--mqtt-user", "logger", "--mqtt-password-file", path("password")});
    finish(30000);
    const std::vector<Sample> records = recording();
    ASSERT_EQ(records.size(), 41u);
    expectEverySampleOnce(watcher, records);
}

TEST_F(RecordMqttTest, AnUnreachableBrokerIsReportedAndRecordingGoesOn)
{
    const std::uint16_t nobodyListens = FreeLoopbackPort();
    Simulator meter(path("meter"), {"--rate", "20", "--frames", "40"});
    ASSERT_TRUE(meter.started());
    startRecording({"--duration", "4", "--mqtt", QStringLiteral("mqtt://127.0.0.1:%1").arg(nobodyListens)});
    ASSERT_TRUE(says(
        QStringLiteral("cannot reach the MQTT broker at 127.0.0.1:%1: Connection refused").arg(nobodyListens), 20000))
        << qPrintable(stderrText());
    finish(30000);
    EXPECT_EQ(recording().size(), 41u) << "every frame of the meter is in the file";
}

TEST_F(RecordMqttTest, WithTlsTheBrokerMustShowACertificateOfTheGivenAuthority)
{
    BrokerOptions options;
    options.tls = true;
    MqttBroker broker(options);
    if (!broker.ready())
        GTEST_SKIP() << "openssl cannot make the test certificates";
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    {
        // The system's certificate authorities do not know this one.
        Simulator meter(path("meter"), {"--rate", "20", "--frames", "40"});
        ASSERT_TRUE(meter.started());
        startRecording({"--duration", "4", "--mqtt", broker.url()});
        ASSERT_TRUE(
            says(QStringLiteral("no TLS connection with the MQTT broker at 127.0.0.1:%1").arg(broker.port()), 20000))
            << qPrintable(stderrText());
        finish(30000);
        EXPECT_EQ(recording().size(), 41u) << "every frame of the meter is in the file";
    }
    TopicWatcher watcher(broker, QStringLiteral("ampero/+/meter/sample"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    Simulator meter(path("meter"), {"--rate", "20", "--frames", "40"});
    ASSERT_TRUE(meter.started());
    errors.clear();
    startRecording({"--duration", "4", "--mqtt", broker.url(), "--mqtt-cafile", broker.caFile()});
    finish(30000);
    const std::vector<Sample> records = recording();
    ASSERT_EQ(records.size(), 41u);
    expectEverySampleOnce(watcher, records);
}

// A port that takes connections and never says a word: the connection
// attempt runs into its time limit, and the meter's full line rate is recorded
// meanwhile, every frame of it.
TEST_F(RecordMqttTest, ABrokerThatNeverAnswersHoldsNothingUp)
{
    const int silent = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(silent, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    ASSERT_EQ(::getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length), 0);
    const std::uint16_t port = ntohs(address.sin_port);

    Simulator meter(path("meter"), {"--rate", "87", "--frames", "400"});
    ASSERT_TRUE(meter.started());
    startRecording({"--duration", "13", "--mqtt", QStringLiteral("mqtt://127.0.0.1:%1").arg(port)});
    ASSERT_TRUE(says(QStringLiteral("the MQTT broker at 127.0.0.1:%1 did not answer within 10 s").arg(port), 30000))
        << qPrintable(stderrText());
    finish(30000);
    ::close(silent);
    EXPECT_EQ(recording().size(), 401u) << "every frame of the meter is in the file";
}
