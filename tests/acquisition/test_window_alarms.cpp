// Limit alarms in the offscreen main window: the simulator's ramp on a
// pseudo-terminal past a high limit and back, seen in the status bar, in the
// colour of the first display's value, as a line on its chart and on the
// broker; and without limits, none of it.

#include "AlarmMonitor.h"
#include "MainFrm.h"
#include "MeterScenario.h"
#include "MqttBroker.h"
#include "PtyFeeder.h"
#include "SampleJson.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"
#include "TrendTestSupport.h"
#include "Wait.h"

#include <LED.h>
#include <Trend.h>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

namespace {

// The meter mirror's segment colour, which a display leaves its alarm for.
constexpr OleColor SegmentOle = 0x5AF06C;

class WindowAlarmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QLocale::setDefault(QLocale::c());
        pty = std::make_unique<PtyFeeder>(dir.filePath(QStringLiteral("meter")));
        ASSERT_TRUE(pty->isValid());
        settings.SaveSetting(QStringLiteral("ComPort"), QStringLiteral("COM1"), pty->linkPath());
        // The ramp's 0 to 999.9 A fills the first chart.
        WriteSetting(settings, Setting::FirstTopY, QStringLiteral("1000"));
        WriteSetting(settings, Setting::FirstBottomY, QStringLiteral("0"));
        settings.sync();
    }

    void makeWindow()
    {
        window = std::make_unique<MainFrm>(state, settings, prompts);
        window->ProbePorts();
        window->SetPortInUse(1);
        window->show();
    }

    std::uint64_t blocksRead() { return window->acquisition().counters().blocksRead; }

    // The ramp's frames up to frame `last`.
    void sendRampTo(int last)
    {
        while (sent < last) {
            const std::uint64_t before = blocksRead();
            ASSERT_TRUE(pty->write(ramp.next().bytes));
            ASSERT_TRUE(WaitUntil([&] { return blocksRead() == before + 1; }, 10000)) << "frame " << sent + 1;
            ++sent;
        }
        ASSERT_EQ(state.store.SampleCount, last);
    }

    QImage chartPixels(Sweepgraph::Trend *chart)
    {
        window->trendView().RefreshCharts();
        return TrendTest::PlotPixels(*chart);
    }

    // The row of the plot with the most pixels of the alarm colour, and how many.
    static std::pair<int, int> fullestAlarmRow(const QImage &image)
    {
        std::pair<int, int> best{-1, 0};
        for (int y = 0; y < image.height(); ++y) {
            const int count = TrendTest::CountInRow(image, y, TrendTest::Rgb(TrendView::AlarmColor));
            if (count > best.second)
                best = {y, count};
        }
        return best;
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("RQ4417.conf"))};
    ProgramState state;
    ScriptedPrompts prompts;
    std::unique_ptr<PtyFeeder> pty;
    std::unique_ptr<MainFrm> window;
    ScenarioGenerator ramp{ScenarioSettings{Scenario::Ramp}};
    int sent = 0;
};

} // namespace

// The ramp climbs by 9.999 A a frame to 999.9 A and drops to 0 at frame 102.
TEST_F(WindowAlarmTest, ARampPastTheHighLimitAndBackIsShownAtOnceAndPublishedTwice)
{
    MqttBroker broker;
    ASSERT_TRUE(broker.start()) << qPrintable(broker.log());
    TopicWatcher alarms(broker, QStringLiteral("ampero/bench/meter/alarm"));
    ASSERT_TRUE(alarms.waitSubscribed(20000)) << qPrintable(alarms.diagnostics());
    WriteSetting(settings, Setting::MqttPublish, QStringLiteral("True"));
    WriteSetting(settings, Setting::MqttBrokerUrl, broker.url());
    WriteSetting(settings, Setting::MqttStation, QStringLiteral("bench"));
    WriteSetting(settings, Setting::AlarmHigh1, QStringLiteral("505"));
    WriteSetting(settings, Setting::AlarmHysteresis, QStringLiteral("10"));
    WriteSetting(settings, Setting::AlarmSound, QStringLiteral("True"));
    settings.sync();
    makeWindow();
    int beeps = 0;
    QObject::connect(&window->alarms(), &AlarmMonitor::soundRequested, [&] { ++beeps; });

    // The limit is on the chart before any sample: one row across the whole plot,
    // half-way up from 0 to 1000.
    const QImage before = chartPixels(window->Sweepgraph1);
    const auto [row, count] = fullestAlarmRow(before);
    EXPECT_GT(count, before.width() * 9 / 10) << "a line across the plot";
    EXPECT_NEAR(row, (before.height() - 1) * (1000 - 505) / 1000.0, 2.0);
    EXPECT_EQ(TrendTest::CountInImage(chartPixels(window->Sweepgraph2), TrendTest::Rgb(TrendView::AlarmColor)), 0)
        << "no limit on the second display";

    window->Start->click();
    ASSERT_EQ(window->acquisition().state(), LinkState::Running);
    ASSERT_TRUE(WaitUntil([&] { return window->PublishStatus->text().startsWith("MQTT: publishing"); }, 20000))
        << qPrintable(window->PublishStatus->text());
    sendRampTo(51);
    EXPECT_FALSE(window->AlarmStatus->isVisible());
    EXPECT_EQ(window->LCD1->ForeColor(), SegmentOle);

    // 509.9 A at frame 52: shown with the sample that crossed.
    sendRampTo(52);
    EXPECT_TRUE(window->AlarmStatus->isVisible());
    EXPECT_EQ(window->AlarmStatus->text(), QStringLiteral("Alarm: first display above high limit 505 A: 509.9 A"));
    EXPECT_EQ(window->LCD1->ForeColor(), TrendView::AlarmColor);
    EXPECT_EQ(window->LCD2->ForeColor(), SegmentOle);
    EXPECT_EQ(beeps, 1);

    // Far above and down to 0: the hysteresis lets it go only once back below 495 A.
    sendRampTo(101);
    EXPECT_EQ(window->LCD1->ForeColor(), TrendView::AlarmColor);
    sendRampTo(102);
    EXPECT_EQ(window->AlarmStatus->text(),
              QStringLiteral("Alarm cleared: first display back below high limit 505 A: 0 A"));
    EXPECT_EQ(window->LCD1->ForeColor(), SegmentOle);
    sendRampTo(120);
    EXPECT_EQ(beeps, 1) << "a clearing does not beep";

    const LimitEvent raised{AlarmDisplay::First,
                            AlarmLimit::High,
                            AlarmDirection::AboveHigh,
                            state.store.sample(52).FirstValue,
                            505,
                            "A",
                            state.store.sample(52).Stamp,
                            52};
    const LimitEvent cleared{AlarmDisplay::First,
                             AlarmLimit::High,
                             AlarmDirection::BackBelowHigh,
                             state.store.sample(102).FirstValue,
                             505,
                             "A",
                             state.store.sample(102).Stamp,
                             102};
    ASSERT_TRUE(WaitUntil([&] { return alarms.payloads().size() >= 2; }, 20000)) << qPrintable(alarms.diagnostics());
    RunEventsFor(500); // a while in which no third alarm may come
    EXPECT_EQ(alarms.payloads(), (std::vector<QByteArray>{AlarmJson(raised), AlarmJson(cleared)}));

    window->Stop->click();
    EXPECT_FALSE(window->AlarmStatus->isVisible());
    EXPECT_EQ(window->LCD1->ForeColor(), SegmentOle);
}

TEST_F(WindowAlarmTest, WithoutLimitsTheWindowShowsNothingOfThem)
{
    makeWindow();
    window->Start->click();
    ASSERT_EQ(window->acquisition().state(), LinkState::Running);
    for (const int last : {52, 80, 102, 120}) {
        sendRampTo(last);
        EXPECT_FALSE(window->AlarmStatus->isVisible()) << last;
        EXPECT_TRUE(window->AlarmStatus->text().isEmpty()) << last;
        EXPECT_EQ(window->LCD1->ForeColor(), SegmentOle) << last;
        EXPECT_EQ(window->LCD2->ForeColor(), SegmentOle) << last;
    }
    for (Sweepgraph::Trend *chart : {window->Sweepgraph1, window->Sweepgraph2})
        EXPECT_EQ(TrendTest::CountInImage(chartPixels(chart), TrendTest::Rgb(TrendView::AlarmColor)), 0);
    // The first chart is drawn: the test looks at a curve, not at an empty plot.
    EXPECT_GT(TrendTest::CountInImage(chartPixels(window->Sweepgraph1), TrendTest::Rgb(state.view.FirstLineColor)), 20);
    window->Stop->click();
}
