#include "FakeChart.h"
#include "SettingsStore.h"
#include "StartupSettings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    // Each rewrite gets a file of its own: QSettings caches what it has read.
    QString path() const { return dir.filePath(QStringLiteral("RQ4417-%1.conf").arg(generation)); }
    void writeIni(const char *text)
    {
        ++generation;
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    int generation = 0;
    ProgramState state;
    FakeChart chart1, chart2;
};

} // namespace

TEST_F(SettingsFixture, EmptyStoreGivesEveryDefault)
{
    SettingsStore settings(path());
    state.view.TimeMode = false;
    state.store.AutoInterval = false;
    state.acquisition.DiscardDamagedFrames = false;
    LoadStoredSettings(settings, state, chart1, chart2);
    EXPECT_EQ(chart1.topY, 100);
    EXPECT_EQ(chart1.bottomY, -100);
    EXPECT_EQ(chart1.rightx, 100);
    EXPECT_EQ(chart2.topY, 100);
    EXPECT_EQ(chart2.bottomY, -100);
    EXPECT_EQ(chart2.rightx, 100);
    EXPECT_EQ(chart1.cols, 15);
    EXPECT_EQ(chart1.rows, 20);
    EXPECT_EQ(chart2.cols, 10);
    EXPECT_EQ(chart2.rows, 8);
    EXPECT_EQ(chart1.grid, 0u);
    EXPECT_EQ(chart1.back, 0x404040u);
    EXPECT_EQ(chart2.back, 0x404040u);
    EXPECT_EQ(state.view.FirstLineColor, 0x00FF00u);
    EXPECT_EQ(state.view.SecondLineColor, 0xFFFF00u);
    EXPECT_EQ(chart1.width, 1);
    EXPECT_EQ(chart2.width, 1);
    EXPECT_TRUE(state.view.TimeMode);
    EXPECT_TRUE(state.store.AutoInterval);
    EXPECT_EQ(state.store.SampleInterval, 0.0f);
    EXPECT_TRUE(state.acquisition.DiscardDamagedFrames);
    EXPECT_EQ(LoadStoredPortNumber(settings), 1);
}

TEST_F(SettingsFixture, AValueThatDoesNotConvertLeavesTheRestoredValue)
{
    writeIni("[FirstTrend]\nTopY=abc\nBottomY=-50\nInterValue=2.5\nRightX=60\n"
             "[AllTrend]\nAutoInterval=False\n[TimeMode]\nTimeMode=maybe\n[LineWidth]\nLineWidth=3\n"
             "[Acquisition]\nDiscardDamagedFrames=False\n");
    SettingsStore settings(path());
    chart1.topY = 80; // restored from the chart's own saved state
    LoadStoredSettings(settings, state, chart1, chart2);
    EXPECT_EQ(chart1.topY, 80);
    EXPECT_EQ(chart1.bottomY, -50);
    EXPECT_EQ(chart2.rightx, 60) << "chart 2 shares chart 1's x range";
    EXPECT_TRUE(state.view.TimeMode) << "an unreadable Boolean keeps the previous value";
    EXPECT_FALSE(state.store.AutoInterval);
    EXPECT_EQ(state.store.SampleInterval, 2.5f);
    EXPECT_EQ(chart2.width, 3);
    EXPECT_FALSE(state.acquisition.DiscardDamagedFrames);
}

// Hand-edited values the Options dialog would refuse ("5=<X<300",
// "600>InterValue>0") load as the nearest value it takes.
TEST_F(SettingsFixture, OutOfRangeWidthAndManualIntervalLoadAsTheNearestValidValue)
{
    struct Case {
        const char *name;
        const char *stored;
        float loaded;
    };
    const Case widths[] = {
        {"negative", "-50", 5},
        {"zero", "0", 5},
        {"just below", "4.99", 5},
        {"lowest", "5", 5},
        {"inside", "120", 120},
        {"just inside", "299", 299},
        {"the excluded bound", "300", 299},
        {"far above", "1e9", 299},
    };
    for (const Case &c : widths) {
        SCOPED_TRACE(c.name);
        writeIni((std::string("[FirstTrend]\nRightX=") + c.stored + "\n").c_str());
        SettingsStore settings(path());
        chart1.rightx = chart2.rightx = 77;
        LoadStoredSettings(settings, state, chart1, chart2);
        EXPECT_EQ(chart1.rightx, c.loaded);
        EXPECT_EQ(chart2.rightx, c.loaded);
    }

    const Case intervals[] = {
        {"negative", "-3", 1}, {"zero", "0", 1},          {"inside", "0.5", 0.5f},
        {"600", "600", 599},   {"far above", "1e6", 599},
    };
    for (const Case &c : intervals) {
        SCOPED_TRACE(c.name);
        writeIni((std::string("[FirstTrend]\nInterValue=") + c.stored + "\n[AllTrend]\nAutoInterval=False\n").c_str());
        SettingsStore settings(path());
        LoadStoredSettings(settings, state, chart1, chart2);
        EXPECT_EQ(state.store.InterValue, c.loaded);
        EXPECT_EQ(state.store.SampleInterval, c.loaded);
    }

    // With Auto the dialog does not check the interval box: it shows what is stored.
    writeIni("[FirstTrend]\nInterValue=-3\n[AllTrend]\nAutoInterval=True\n");
    SettingsStore settings(path());
    LoadStoredSettings(settings, state, chart1, chart2);
    EXPECT_EQ(state.store.InterValue, -3.0f);
    EXPECT_EQ(state.store.SampleInterval, 0.0f);
}

TEST_F(SettingsFixture, PortNumberFallsBackToOneUnlessOneToFour)
{
    struct Case {
        const char *stored;
        int expected;
    };
    for (const Case c : {Case{"3", 3}, {"4", 4}, {"0", 1}, {"5", 1}, {"abc", 1}, {"2.5", 1}, {"-2", 1}, {" 2 ", 2}}) {
        writeIni((std::string("[ComPort]\nComPort=") + c.stored + "\n").c_str());
        SettingsStore settings(path());
        EXPECT_EQ(LoadStoredPortNumber(settings), c.expected) << c.stored;
    }
}

TEST_F(SettingsFixture, PortNumberIsWrittenAsText)
{
    {
        SettingsStore settings(path());
        SaveStoredPortNumber(settings, 3);
    }
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[ComPort]\nComPort=3"));
}
