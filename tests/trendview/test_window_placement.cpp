#include "SettingsStore.h"
#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// The menu bar and the status bar of the window as Qt's Fusion style builds them.
const QSize Chrome(0, 48);
const QSize Minimum = ClientSizeAt(MainWindowSize::MinimumScale) + Chrome;

// The design's width to height, of the area below the menu bar.
double clientAspect(const QRect &window)
{
    return double(window.width()) / (window.height() - Chrome.height());
}

const double DesignAspect = 1000.0 / 680.0;

struct PlacementFixture : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("RQ4417.conf"))};

    void remember(const char *left, const char *top, const char *width, const char *height)
    {
        WriteSetting(settings, Setting::WindowLeft, QString::fromLatin1(left));
        WriteSetting(settings, Setting::WindowTop, QString::fromLatin1(top));
        WriteSetting(settings, Setting::WindowWidth, QString::fromLatin1(width));
        WriteSetting(settings, Setting::WindowHeight, QString::fromLatin1(height));
    }
};

} // namespace

TEST(WindowPlacement, DefaultFitsTheScreenInTheDesignProportions)
{
    struct Row {
        const char *name;
        QRect available;
    };
    const Row rows[] = {
        {"1366 x 768 laptop with a top panel", QRect(0, 27, 1366, 741)},
        {"1280 x 800", QRect(0, 0, 1280, 800)},
        {"1920 x 1200 at scale factor 2", QRect(0, 0, 960, 600)},
        {"second screen right of the first", QRect(1920, 0, 1024, 768)},
        {"portrait", QRect(0, 0, 800, 1280)},
    };
    for (const Row &row : rows) {
        const QRect window = DefaultWindowGeometry(row.available, Chrome);
        // With the title bar and borders the window manager adds, it lies on the screen.
        const QRect framed = window.adjusted(-8, -32, 8, 8);
        EXPECT_TRUE(row.available.contains(framed)) << row.name;
        EXPECT_NEAR(clientAspect(window), DesignAspect, 0.01) << row.name;
        EXPECT_GE(window.width(), Minimum.width()) << row.name;
        EXPECT_GE(window.height(), Minimum.height()) << row.name;
        // Centred.
        EXPECT_LE(std::abs(framed.center().x() - row.available.center().x()), 1) << row.name;
    }
    // The laptop: nearly the whole height, no longer the fixed 760 pixels.
    const QRect laptop = DefaultWindowGeometry(QRect(0, 27, 1366, 741), Chrome);
    EXPECT_EQ(laptop.height(), 741 - 40);
}

TEST(WindowPlacement, LargeScreensGetThePreferredSize)
{
    const QRect window = DefaultWindowGeometry(QRect(0, 0, 2560, 1400), Chrome);
    EXPECT_EQ(window.size(), ClientSizeAt(MainWindowSize::PreferredScale) + Chrome);
    EXPECT_EQ(window.size(), QSize(1120, 762 + 48));
}

TEST(WindowPlacement, ScreenSmallerThanTheMinimumGetsTheMinimumAtItsCorner)
{
    // 1920 x 1080 and 1366 x 768 at scale factor 2: below the legible minimum.
    for (const QRect &available : {QRect(0, 0, 960, 540), QRect(0, 0, 683, 384), QRect(683, 20, 683, 364)}) {
        const QRect window = DefaultWindowGeometry(available, Chrome);
        EXPECT_EQ(window.size(), Minimum);
        // The menus and START in reach.
        EXPECT_EQ(window.topLeft(), available.topLeft());
    }
}

TEST_F(PlacementFixture, NothingStoredOpensAtTheDefault)
{
    const QRect screen(0, 0, 1280, 800);
    const WindowPlacement placement = ChooseWindowPlacement(settings, {screen}, screen, Chrome, Minimum);
    EXPECT_EQ(placement.geometry, DefaultWindowGeometry(screen, Chrome));
    EXPECT_FALSE(placement.maximized);
}

TEST_F(PlacementFixture, RememberedGeometryComesBackWhileItFitsAScreen)
{
    const QRect primary(0, 0, 1920, 1050);
    const QRect second(1920, 0, 1280, 1024);
    SaveWindowPlacement(settings, {QRect(2000, 40, 900, 700), true});
    settings.sync();

    SettingsStore reread(settings.fileName());
    WindowPlacement placement = ChooseWindowPlacement(reread, {primary, second}, primary, Chrome, Minimum);
    EXPECT_EQ(placement.geometry, QRect(2000, 40, 900, 700));
    EXPECT_TRUE(placement.maximized);

    // The second screen is gone: the default on the primary one, still maximized.
    placement = ChooseWindowPlacement(reread, {primary}, primary, Chrome, Minimum);
    EXPECT_EQ(placement.geometry, DefaultWindowGeometry(primary, Chrome));
    EXPECT_TRUE(placement.maximized);

    // The same screen at scale factor 2 has half the room.
    const QRect halved(0, 0, 960, 525);
    remember("100", "40", "1100", "760");
    placement = ChooseWindowPlacement(settings, {halved}, halved, Chrome, Minimum);
    EXPECT_EQ(placement.geometry, DefaultWindowGeometry(halved, Chrome));
}

TEST_F(PlacementFixture, RememberedGeometryBelowTheMinimumGrowsToIt)
{
    const QRect screen(0, 0, 1280, 800);
    remember("10", "20", "300", "200");
    EXPECT_EQ(ChooseWindowPlacement(settings, {screen}, screen, Chrome, Minimum).geometry,
              QRect(QPoint(10, 20), Minimum));
    // Grown, it would reach beyond the screen.
    remember("1200", "20", "50", "50");
    EXPECT_EQ(ChooseWindowPlacement(settings, {screen}, screen, Chrome, Minimum).geometry,
              DefaultWindowGeometry(screen, Chrome));
}

TEST_F(PlacementFixture, DamagedOrPartialValuesAreNotRestored)
{
    const QRect screen(0, 0, 1280, 800);
    const QRect fallback = DefaultWindowGeometry(screen, Chrome);
    const char *damaged[][4] = {
        {"10", "20", "abc", "600"},  {"10", "20", "800", ""},       {"10", "20", "0", "600"},
        {"10", "20", "-800", "600"}, {"1e300", "20", "800", "600"},
    };
    for (const auto &values : damaged) {
        remember(values[0], values[1], values[2], values[3]);
        EXPECT_EQ(ChooseWindowPlacement(settings, {screen}, screen, Chrome, Minimum).geometry, fallback)
            << values[0] << " " << values[1] << " " << values[2] << " " << values[3];
    }
    WriteSetting(settings, Setting::WindowMaximized, QStringLiteral("maybe"));
    EXPECT_FALSE(ChooseWindowPlacement(settings, {screen}, screen, Chrome, Minimum).maximized);
}

TEST_F(PlacementFixture, PlacementIsKeptInItsOwnSection)
{
    WriteSetting(settings, Setting::ComPort, QStringLiteral("2"));
    SaveWindowPlacement(settings, {QRect(-5, 30, 1024, 700), false});
    settings.sync();
    QFile file(settings.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString ini = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(ini.contains(QLatin1String("[ComPort]\nComPort=2"))) << qPrintable(ini);
    EXPECT_TRUE(ini.contains(QLatin1String("[MainWindow]\nHeight=700\nLeft=-5\nMaximized=False\nTop=30\nWidth=1024")))
        << qPrintable(ini);
}
