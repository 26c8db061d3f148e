// Mouse and keyboard events of the plot area, in world coordinates.

#include "TrendTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace TrendTest;

namespace {

struct Recorded {
    std::string event;
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
};

// Everything the chart raises, in order.
std::vector<Recorded> &Record(Sweepgraph::Trend &chart, std::vector<Recorded> &log)
{
    using Sweepgraph::Trend;
    QObject::connect(&chart, &Trend::Click, [&] { log.push_back({"Click"}); });
    QObject::connect(&chart, &Trend::DblClick, [&] { log.push_back({"DblClick"}); });
    QObject::connect(&chart, &Trend::MouseDown, [&](qint16 b, qint16 s, float x, float y) {
        log.push_back({"MouseDown", b, s, x, y});
    });
    QObject::connect(&chart, &Trend::MouseUp, [&](qint16 b, qint16 s, float x, float y) {
        log.push_back({"MouseUp", b, s, x, y});
    });
    QObject::connect(&chart, &Trend::MouseMove, [&](qint16 b, qint16 s, float x, float y) {
        log.push_back({"MouseMove", b, s, x, y});
    });
    QObject::connect(&chart, &Trend::KeyDown, [&](qint16 code, qint16 s) { log.push_back({"KeyDown", code, s}); });
    QObject::connect(&chart, &Trend::KeyUp, [&](qint16 code, qint16 s) { log.push_back({"KeyUp", code, s}); });
    QObject::connect(&chart, &Trend::KeyPress, [&](qint16 ascii) { log.push_back({"KeyPress", ascii}); });
    return log;
}

void SendMouse(QWidget *target, QEvent::Type type, QPointF position, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, position, target->mapToGlobal(position), button, buttons, modifiers);
    QApplication::sendEvent(target, &event);
}

} // namespace

struct PointerRow {
    const char *name;
    float top, bottom, left, right;
    QPointF pixel;
    float x, y;
};

class TrendPointer : public ::testing::TestWithParam<PointerRow> {};

TEST_P(TrendPointer, MouseEventsCarryWorldCoordinates)
{
    const PointerRow row = GetParam();
    auto chart = MakeChart();
    chart->setTopY(row.top);
    chart->setBottomY(row.bottom);
    chart->setLeftX(row.left);
    chart->setRightx(row.right);
    std::vector<Recorded> log;
    Record(*chart, log);
    QWidget *plot = Plot(*chart);
    SendMouse(plot, QEvent::MouseMove, row.pixel, Qt::NoButton, Qt::NoButton);
    SendMouse(plot, QEvent::MouseButtonPress, row.pixel, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    SendMouse(plot, QEvent::MouseButtonRelease, row.pixel, Qt::RightButton, Qt::NoButton, Qt::ControlModifier);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].event, "MouseMove");
    EXPECT_EQ(log[0].button, 0);
    EXPECT_EQ(log[1].event, "MouseDown");
    EXPECT_EQ(log[1].button, 2);
    EXPECT_EQ(log[1].shift, 1);
    EXPECT_EQ(log[2].event, "MouseUp");
    EXPECT_EQ(log[2].shift, 2);
    EXPECT_EQ(log[3].event, "Click");
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(log[i].x, row.x) << log[i].event;
        EXPECT_FLOAT_EQ(log[i].y, row.y) << log[i].event;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TrendPointer,
                         ::testing::Values(PointerRow{"centre", 100, -100, 0, 100, QPointF(400, 200), 50, 0},
                                           PointerRow{"topLeft", 100, -100, 0, 100, QPointF(0, 0), 0, 100},
                                           PointerRow{"quarter", 100, -100, 0, 100, QPointF(200, 300), 25, -50},
                                           PointerRow{"timeScale", 30, 0, 0, 60, QPointF(600, 100), 45, 22.5},
                                           PointerRow{"inverted", -100, 100, 0, 100, QPointF(400, 300), 50, -250}),
                         [](const auto &instance) { return std::string(instance.param.name); });

TEST(TrendEvents, DoubleClickSequenceAndButtonsHeldWhileMoving)
{
    auto chart = MakeChart();
    std::vector<Recorded> log;
    Record(*chart, log);
    QWidget *plot = Plot(*chart);
    const QPointF at(80, 40);
    SendMouse(plot, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(plot, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    SendMouse(plot, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(plot, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton | Qt::MiddleButton, Qt::AltModifier);
    SendMouse(plot, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    std::vector<std::string> names;
    for (const Recorded &r : log)
        names.push_back(r.event);
    EXPECT_EQ(names, (std::vector<std::string>{"MouseDown", "MouseUp", "Click", "DblClick", "MouseMove", "MouseUp"}));
    EXPECT_EQ(log[4].button, 1 | 4);
    EXPECT_EQ(log[4].shift, 4);
    EXPECT_FLOAT_EQ(log[4].x, 10);
    EXPECT_FLOAT_EQ(log[4].y, 80);
}

TEST(TrendEvents, ReleaseOutsideThePlotIsNoClick)
{
    auto chart = MakeChart();
    std::vector<Recorded> log;
    Record(*chart, log);
    QWidget *plot = Plot(*chart);
    SendMouse(plot, QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton);
    SendMouse(plot, QEvent::MouseButtonRelease, QPointF(900, 10), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].event, "MouseUp");
    EXPECT_FLOAT_EQ(log[1].x, 112.5f);
}

TEST(TrendEvents, FrameAndLabelsRaiseNothing)
{
    auto chart = MakeChart();
    std::vector<Recorded> log;
    Record(*chart, log);
    for (const char *name : {"P01", "L01_0", "L02_1"}) {
        auto *part = chart->findChild<QWidget *>(QLatin1String(name));
        SendMouse(part, QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton, Qt::LeftButton);
        SendMouse(part, QEvent::MouseButtonRelease, QPointF(3, 3), Qt::LeftButton, Qt::NoButton);
        SendMouse(part, QEvent::MouseMove, QPointF(4, 4), Qt::NoButton, Qt::NoButton);
    }
    EXPECT_TRUE(log.empty());
}

TEST(TrendEvents, KeysTypedOnThePlotArea)
{
    auto chart = MakeChart();
    std::vector<Recorded> log;
    Record(*chart, log);
    QWidget *plot = Plot(*chart);
    EXPECT_EQ(plot->focusPolicy(), Qt::StrongFocus);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QApplication::sendEvent(plot, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QApplication::sendEvent(plot, &release);
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier);
    QApplication::sendEvent(plot, &arrow);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].event, "KeyDown");
    EXPECT_EQ(log[0].button, 'A');
    EXPECT_EQ(log[0].shift, 1);
    EXPECT_EQ(log[1].event, "KeyPress");
    EXPECT_EQ(log[1].button, 'A');
    EXPECT_EQ(log[2].event, "KeyUp");
    EXPECT_EQ(log[3].event, "KeyDown");
    EXPECT_EQ(log[3].shift, 2);
    EXPECT_NE(log[3].button, log[0].button);
}

TEST(TrendWheel, TheWheelIsReportedWithItsPlaceOnTheChart)
{
    auto chart = MakeChart(800, 400); // world 0..100 by 100..-100
    std::vector<Recorded> log;
    QObject::connect(chart.get(), &Sweepgraph::Trend::MouseWheel, [&](qint16 delta, qint16 s, float x, float y) {
        log.push_back({"MouseWheel", delta, s, x, y});
    });
    QWidget *plot = Plot(*chart);
    const QPointF at(200, 100);
    QWheelEvent notch(at, plot->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &notch);
    // A sideways scroll is not a turn of the wheel.
    QWheelEvent sideways(at, plot->mapToGlobal(at), QPoint(), QPoint(120, 0), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &sideways);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].button, -120);
    EXPECT_EQ(log[0].shift, 2);
    EXPECT_FLOAT_EQ(log[0].x, 25);
    EXPECT_FLOAT_EQ(log[0].y, 50);
}

// The plot area takes the keyboard focus for the chart, so it is what a screen
// reader meets: it must say it is a chart and carry the host's texts.
TEST(TrendAccessibility, PlotAreaIsTheFocusedChartWithTheHostsTexts)
{
    Sweepgraph::Trend chart;
    chart.resize(400, 300);
    chart.setAccessibleText(QStringLiteral("Current"), QStringLiteral("Current over time, newest value 5 A"));
    QWidget *plot = chart.focusProxy();
    ASSERT_NE(plot, nullptr) << "focus on the chart goes to its plot area";
    EXPECT_EQ(plot->focusPolicy(), Qt::StrongFocus);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(plot);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Chart);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Current"));
    EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("Current over time, newest value 5 A"));
    QAccessibleInterface *whole = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->text(QAccessible::Description), QStringLiteral("Current over time, newest value 5 A"));

    chart.setAccessibleText(QStringLiteral("Current"), QStringLiteral("Current over time, no samples"));
    EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("Current over time, no samples"));
}
