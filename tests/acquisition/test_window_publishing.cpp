// The offscreen main window recording a pseudo-terminal meter and publishing
// to a real mosquitto broker, as switched on in Options.

#include "Frames.h"
#include "MainFrm.h"
#include "MqttBroker.h"
#include "OffscreenWindow.h"
#include "PtyFeeder.h"
#include "SettingsStore.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>
#include <numeric>

namespace {

// The first display reads 10 + hundredths / 100 ("10.07").
MeterFrame meterFrame(int hundredths, std::uint8_t unit = UnitA)
{
    return ReadingFrame(QString::number(10 + hundredths / 100.0, 'f', 2).toStdString(), unit, Coupling::Ac);
}

std::vector<std::int32_t> oneTo(int count)
{
    std::vector<std::int32_t> seqs(std::size_t(count), 0);
    std::iota(seqs.begin(), seqs.end(), 1);
    return seqs;
}

class WindowPublishingTest : public MeterWindowTest {
protected:
    void SetUp() override
    {
        MeterWindowTest::SetUp();
        QLocale::setDefault(QLocale::c());
    }

    // What Options stores with "Publish to MQTT broker" ticked; the meter's
    // name is left to its default, the port's device name ("meter").
    void publishTo(const QString &url)
    {
        WriteSetting(settings, Setting::MqttPublish, QStringLiteral("True"));
        WriteSetting(settings, Setting::MqttBrokerUrl, url);
        WriteSetting(settings, Setting::MqttStation, QStringLiteral("bench"));
        settings.sync();
    }

    void makeWindow() { openWindowOnPort(); }

    std::uint64_t blocksRead() { return window->acquisition().counters().blocksRead; }

    bool send(const MeterFrame &frame)
    {
        const std::uint64_t before = blocksRead();
        return pty->write(frame) && WaitUntil([&] { return blocksRead() == before + 1; }, 10000);
    }

    QString status() const { return window->PublishStatus->text(); }
    bool statusStartsWith(const QString &text) const { return status().startsWith(text); }
};

} // namespace

TEST_F(WindowPublishingTest, EverySampleRecordedReachesTheBrokerInOrder)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher watcher(broker, QStringLiteral("ampero/bench/meter/sample"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    publishTo(broker.url());
    makeWindow();
    EXPECT_TRUE(status().isEmpty()) << "nothing is said before START";

    window->Start->click();
    ASSERT_EQ(window->acquisition().state(), LinkState::Running);
    const QString connected = QStringLiteral("MQTT: publishing to the MQTT broker at 127.0.0.1:%1").arg(broker.port());
    ASSERT_TRUE(WaitUntil([&] { return statusStartsWith(connected); }, 20000)) << qPrintable(status());
    EXPECT_TRUE(window->PublishStatus->isVisible());

    constexpr int Count = 120;
    for (int i = 1; i <= Count; ++i)
        ASSERT_TRUE(send(meterFrame(i)));
    ASSERT_EQ(state.store.SampleCount, Count);
    ASSERT_TRUE(WaitUntil([&] { return watcher.sequence().size() >= std::size_t(Count); }, 30000))
        << watcher.sequence().size() << " arrived\n"
        << qPrintable(watcher.diagnostics());
    EXPECT_EQ(watcher.sequence(), oneTo(Count));
    const std::vector<QByteArray> &payloads = watcher.payloads();
    for (int i = 1; i <= Count; ++i) {
        const QJsonObject sample = JsonObject(payloads[std::size_t(i - 1)]);
        EXPECT_NEAR(sample[QStringLiteral("first")][QStringLiteral("value")].toDouble(), 10 + i / 100.0, 1e-6)
            << payloads[std::size_t(i - 1)].constData();
    }

    window->Stop->click();
    EXPECT_TRUE(statusStartsWith(QStringLiteral("MQTT: stopped publishing"))) << qPrintable(status());
    EXPECT_EQ(RetainedPayloads(broker, QStringLiteral("ampero/bench/meter/status"), 1, 20000),
              std::vector<QByteArray>{"offline"});
}

TEST_F(WindowPublishingTest, NewWhileRecordingIsPublishedFromItsFirstSample)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher watcher(broker, QStringLiteral("ampero/bench/meter/sample"));
    ASSERT_TRUE(watcher.waitSubscribed(20000)) << qPrintable(watcher.diagnostics());
    publishTo(broker.url());
    makeWindow();
    window->Start->click();
    const QString connected = QStringLiteral("MQTT: publishing");
    ASSERT_TRUE(WaitUntil([&] { return statusStartsWith(connected); }, 20000)) << qPrintable(status());

    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(send(meterFrame(i)));
    // A new function: Yes to a new recording, No to saving the old one.
    prompts.yesNoAnswers = {true};
    prompts.answers = {ScriptedPrompts::Answer::No};
    // The second frame in the new unit asks (one alone may be damage) and starts the new recording.
    ASSERT_TRUE(send(meterFrame(100, UnitV)));
    ASSERT_TRUE(send(meterFrame(100, UnitV)));
    for (int i = 2; i <= 4; ++i)
        ASSERT_TRUE(send(meterFrame(100 * i, UnitV)));
    ASSERT_EQ(state.store.SampleCount, 4);
    ASSERT_TRUE(WaitUntil([&] { return statusStartsWith(connected); }, 20000)) << qPrintable(status());

    std::vector<std::int32_t> expected = oneTo(5);
    const std::vector<std::int32_t> second = oneTo(4);
    expected.insert(expected.end(), second.begin(), second.end());
    ASSERT_TRUE(WaitUntil([&] { return watcher.sequence().size() >= expected.size(); }, 30000))
        << qPrintable(watcher.diagnostics());
    EXPECT_EQ(watcher.sequence(), expected);
    EXPECT_NEAR(JsonObject(watcher.payloads().back())[QStringLiteral("first")][QStringLiteral("value")].toDouble(),
                14.0, 1e-6);
    window->Stop->click();
}

TEST_F(WindowPublishingTest, UnreachableBrokerOrWrongSettingIsShownAndRecordingGoesOn)
{
    publishTo(QStringLiteral("mqtt://127.0.0.1:%1").arg(FreeLoopbackPort()));
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(WaitUntil([&] { return window->publishing().failed(); }, 20000)) << qPrintable(status());
    EXPECT_TRUE(status().contains(QStringLiteral("trying again"))) << qPrintable(status());
    EXPECT_TRUE(window->PublishStatus->styleSheet().contains(QStringLiteral("color"))) << "shown in red";
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(send(meterFrame(i)));
    EXPECT_EQ(state.store.SampleCount, 3);
    window->Stop->click();

    WriteSetting(settings, Setting::MqttBrokerUrl, QStringLiteral("http://127.0.0.1"));
    settings.sync();
    window->Start->click();
    ASSERT_EQ(window->acquisition().state(), LinkState::Running);
    EXPECT_TRUE(statusStartsWith(QStringLiteral("MQTT: "))) << qPrintable(status());
    EXPECT_TRUE(status().endsWith(QStringLiteral("; not publishing"))) << qPrintable(status());
    EXPECT_TRUE(window->publishing().failed());
    ASSERT_TRUE(send(meterFrame(7)));
    EXPECT_EQ(state.store.SampleCount, 4);
    window->Stop->click();
}

TEST_F(WindowPublishingTest, SwitchedOffNothingIsPublishedOrShown)
{
    makeWindow();
    window->Start->click();
    ASSERT_TRUE(send(meterFrame(1)));
    EXPECT_FALSE(window->publishing().publishing());
    EXPECT_TRUE(status().isEmpty());
    window->Stop->click();
}
