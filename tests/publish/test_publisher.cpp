// SamplePublisher in this process against a real broker: the backlog after an
// outage, and what it says while the broker cannot be reached.

#include "MqttBroker.h"
#include "OleDate.h"
#include "SampleJson.h"
#include "SamplePublisher.h"
#include "SampleStore.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <algorithm>

namespace {

PublishSettings settingsFor(const MqttBroker &broker)
{
    PublishSettings settings;
    EXPECT_FALSE(ParseBrokerUrl(broker.url(), settings));
    settings.station = QStringLiteral("bench");
    settings.meter = QStringLiteral("m1");
    return settings;
}

void appendSample(SampleStore &store, const QDateTime &at, float value)
{
    Sample s;
    s.FirstValue = value;
    s.FirstUnit = 0x08;
    s.SecondValue = 50;
    s.SecondUnit = 0x10;
    s.Stamp = LocalToOleDate(at);
    s.Seconds = float(store.SampleCount + 1);
    store.AppendSample(s);
}

} // namespace

TEST(SamplePublisher, AfterAnOutageOnlyTheSamplesWithinTheBacklogAreSentAgain)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher watcher(broker, QStringLiteral("ampero/bench/m1/sample"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    ASSERT_TRUE(broker.stop());

    SampleStore store;
    appendSample(store, QDateTime::currentDateTime(), 1); // before start: not this publisher's to send
    PublishSettings settings = settingsFor(broker);
    settings.backlogSeconds = 600;
    SamplePublisher publisher;
    publisher.configure(settings, store);
    std::vector<QString> texts;
    QObject::connect(&publisher, &SamplePublisher::stateChanged,
                     [&](PublisherState, const QString &text) { texts.push_back(text); });
    publisher.start();
    ASSERT_TRUE(WaitUntil([&] { return publisher.state() == PublisherState::Disconnected; }, 20000));
    EXPECT_TRUE(publisher.stateText().contains(
        QStringLiteral("cannot reach the MQTT broker at 127.0.0.1:%1").arg(broker.port())))
        << qPrintable(publisher.stateText());
    EXPECT_TRUE(publisher.stateText().contains(QLatin1String("trying again")));

    // Samples 2..4 are an hour older than the newest, 5..7 lie within the ten minutes.
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 2; i <= 7; ++i) {
        appendSample(store, i <= 4 ? now.addSecs(-3600) : now, float(i));
        publisher.publish(store.SampleCount);
    }
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(WaitUntil([&] { return watcher.payloads().size() >= 3; }, 60000)) << qPrintable(watcher.diagnostics());
    EXPECT_EQ(watcher.sequence(), (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(watcher.payloads().back(), SampleJson(7, store.sample(7)));
    EXPECT_EQ(publisher.state(), PublisherState::Connected);
    const auto said = std::find_if(texts.begin(), texts.end(), [](const QString &text) {
        return text.contains(QLatin1String("sending the 3 samples it has not had yet")) &&
               text.contains(QLatin1String("3 older samples lie beyond the backlog"));
    });
    EXPECT_NE(said, texts.end()) << qPrintable(QStringList(texts.begin(), texts.end()).join('\n'));
    ASSERT_TRUE(WaitUntil([&] { return publisher.confirmed() == 7; }, 20000));

    // New samples go on as they come, and the newest is the retained last one.
    appendSample(store, now, 8);
    publisher.publish(store.SampleCount);
    ASSERT_TRUE(WaitUntil([&] { return watcher.payloads().size() >= 4; }, 20000));
    EXPECT_EQ(watcher.sequence().back(), 8);
    publisher.stop();
    EXPECT_EQ(publisher.state(), PublisherState::Stopped);
    EXPECT_EQ(RetainedPayloads(broker, QStringLiteral("ampero/bench/m1/last"), 1, 10000),
              (std::vector<QByteArray>{SampleJson(8, store.sample(8))}));
    EXPECT_EQ(RetainedPayloads(broker, QStringLiteral("ampero/bench/m1/status"), 1, 10000),
              (std::vector<QByteArray>{"offline"}));
}

// Limit events that came while the broker was away arrive after it is back,
// each right after the sample that raised it.
TEST(SamplePublisher, AlarmsMissedInAnOutageFollowTheirSamplesInOrder)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher watcher(broker, QStringLiteral("ampero/bench/m1/+"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    ASSERT_TRUE(broker.stop());

    SampleStore store;
    SamplePublisher publisher;
    publisher.configure(settingsFor(broker), store);
    publisher.start();
    ASSERT_TRUE(WaitUntil([&] { return publisher.state() == PublisherState::Disconnected; }, 20000));
    LimitSettings limits;
    limits.first.high = 4.5f;
    limits.hysteresis = 1;
    LimitAlarm alarm(limits);
    const QDateTime now = QDateTime::currentDateTime();
    const float values[] = {1, 5, 6, 4, 3, 2};
    std::vector<LimitEvent> events;
    for (const float value : values) {
        appendSample(store, now, value);
        for (const LimitEvent &event : alarm.sampleAppended(store.sample(store.SampleCount), store.SampleCount)) {
            publisher.publishAlarm(event);
            events.push_back(event);
        }
        publisher.publish(store.SampleCount);
    }
    ASSERT_EQ(events.size(), 2u);

    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    ASSERT_TRUE(WaitUntil([&] { return publisher.confirmed() == 6; }, 60000)) << qPrintable(watcher.diagnostics());
    // What came on the sample and alarm topics, in order (status and last left out).
    // The retained copy of the newest sample on .../last may come more than
    // once (again when the watcher resubscribes), so repeats in a row count once.
    const auto said = [&] {
        std::vector<QByteArray> heard;
        for (const QByteArray &payload : watcher.payloads()) {
            if (JsonObject(payload).contains(QLatin1String("seq")) && (heard.empty() || heard.back() != payload))
                heard.push_back(payload);
        }
        return heard;
    };
    std::vector<QByteArray> expected;
    for (std::int32_t i = 1; i <= 6; ++i) {
        expected.push_back(SampleJson(i, store.sample(i)));
        if (i == 2)
            expected.push_back(AlarmJson(events[0]));
        if (i == 5)
            expected.push_back(AlarmJson(events[1]));
    }
    // What the broker confirmed may reach the watcher a little later.
    ASSERT_TRUE(WaitUntil([&] { return said().size() >= expected.size(); }, 20000))
        << qPrintable(watcher.diagnostics());
    RunEventsFor(300); // a while in which nothing may come twice
    EXPECT_EQ(said(), expected) << qPrintable(watcher.diagnostics());
    publisher.stop();
}

TEST(SamplePublisher, HomeAssistantHearsOfTheDisplaysAndOfEveryChangeOfUnit)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher configs(broker, QStringLiteral("homeassistant/sensor/+/config"));
    ASSERT_TRUE(configs.waitSubscribed(20000));
    SampleStore store;
    PublishSettings settings = settingsFor(broker);
    settings.homeAssistant = true;
    SamplePublisher publisher;
    publisher.configure(settings, store);
    publisher.start();
    ASSERT_TRUE(WaitUntil([&] { return publisher.state() == PublisherState::Connected; }, 20000))
        << qPrintable(publisher.stateText());
    const QDateTime now = QDateTime::currentDateTime();
    appendSample(store, now, 1);
    publisher.publish(1);
    appendSample(store, now, 2);
    publisher.publish(2);
    ASSERT_TRUE(WaitUntil([&] { return publisher.confirmed() == 2; }, 20000));
    ASSERT_TRUE(WaitUntil([&] { return configs.payloads().size() >= 2; }, 20000));
    EXPECT_EQ(JsonObject(configs.payloads()[0]).value("unit_of_measurement").toString(), "A");
    EXPECT_EQ(JsonObject(configs.payloads()[1]).value("unit_of_measurement").toString(), "Hz");

    Sample volts = store.sample(2);
    volts.FirstUnit = 0x04;
    store.AppendSample(volts);
    publisher.publish(3);
    ASSERT_TRUE(WaitUntil([&] { return configs.payloads().size() >= 4; }, 20000));
    EXPECT_EQ(JsonObject(configs.payloads()[2]).value("unit_of_measurement").toString(), "V");
    publisher.stop();
    EXPECT_EQ(configs.payloads().size(), 4u) << "the same units are announced once";
}
