// Zoom, pan and the cursors as the user reaches them in the main window.

#include "MainFrm.h"
#include "OffscreenWindow.h"
#include "OleDate.h"
#include "OptionSettings.h"
#include "SettingsStore.h"
#include "TrendWidgetChart.h"

#include <Trend.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

class WindowZoomTest : public OffscreenWindowTest {
protected:
    void SetUp() override
    {
        OffscreenWindowTest::SetUp();
        QLocale::setDefault(QLocale::c());
        openWindow();
        state.view.TimeMode = false;
    }

    void appendSamples(int count)
    {
        for (int i = 1; i <= count; ++i) {
            Sample s;
            s.FirstValue = float(i % 50);
            s.FirstUnit = 0x40; // kW
            s.Seconds = float(i);
            s.Stamp = LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(10, 37, 0)).addSecs(i));
            state.store.AppendSample(s);
            window->trendView().FollowLatestSample();
        }
    }
};

TEST_F(WindowZoomTest, FitAllAndBackToLiveFromTheViewMenu)
{
    appendSamples(3000);
    ASSERT_TRUE(window->View);
    EXPECT_EQ(window->FitAll->shortcut(), QKeySequence(Qt::Key_F));
    EXPECT_FALSE(window->FollowStatus->isVisibleTo(window.get()));

    window->FitAll->trigger();
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 3000);
    EXPECT_TRUE(window->FollowStatus->isVisibleTo(window.get()));
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("49kW"));

    // Live samples leave the chosen window alone.
    appendSamples(10);
    EXPECT_EQ(state.view.ViewFirst, 1);

    window->BackToLive->trigger();
    EXPECT_FALSE(window->FollowStatus->isVisibleTo(window.get()));
    EXPECT_EQ(state.view.ViewLast, 3010);
    EXPECT_EQ(state.view.ViewFirst, 3010 - 90);
    EXPECT_EQ(window->HScroll1->value(), 3010 - 90);
}

TEST_F(WindowZoomTest, TheWheelZoomsBothChartsAroundThePointer)
{
    appendSamples(1000);
    QWidget *plot = window->Sweepgraph1->findChild<QWidget *>(QStringLiteral("P02"));
    ASSERT_TRUE(plot);
    ASSERT_EQ(state.view.ViewFirst, 910);
    // The pointer in the middle of the plot, on sample 960 at x = 50.
    const QPointF at(plot->width() / 2.0, plot->height() / 2.0);
    QWheelEvent out(at, plot->mapToGlobal(at), QPoint(), QPoint(0, -120 * 4), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &out);
    EXPECT_FALSE(window->trendView().Following());
    // Four notches out: 1.25^4 times as wide, around the pointer.
    EXPECT_NEAR(window->trendView().WindowX(960), 50, 0.5);
    EXPECT_NEAR(960 - state.view.ViewFirst, 50 * 2.44, 1.5);
}

TEST_F(WindowZoomTest, CtrlAndTheWheelZoomTheYAxisOfThatChartAlone)
{
    appendSamples(1000);
    QWidget *plot = window->Sweepgraph2->findChild<QWidget *>(QStringLiteral("P02"));
    ASSERT_TRUE(plot);
    const std::int32_t first = state.view.ViewFirst;
    // The pointer a quarter down the lower chart, at 50 of 100..-100.
    const QPointF at(plot->width() / 2.0, plot->height() / 4.0);
    auto turn = [&](int notches) {
        QWheelEvent wheel(at, plot->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
    };
    turn(1);
    // One notch in: 160 high, 50 still a quarter down.
    EXPECT_NEAR(window->trendView().ShownY(false).top, 90, 1e-3);
    EXPECT_NEAR(window->trendView().ShownY(false).bottom, -70, 1e-3);
    EXPECT_EQ(window->Sweepgraph2->scaleLabelText(0), QStringLiteral("90"));
    EXPECT_EQ(window->Sweepgraph2->scaleLabelText(2), QStringLiteral("10"));
    EXPECT_EQ(window->Sweepgraph2->scaleLabelText(4), QStringLiteral("-70"));
    // The upper chart, the x window and the bounds Options shows are untouched.
    EXPECT_DOUBLE_EQ(window->trendView().ShownY(true).top, 100);
    EXPECT_DOUBLE_EQ(window->trendView().ShownY(true).bottom, -100);
    EXPECT_EQ(window->Sweepgraph1->scaleLabelText(0), QStringLiteral("100"));
    EXPECT_EQ(window->Sweepgraph1->scaleLabelText(4), QStringLiteral("-100"));
    EXPECT_TRUE(window->trendView().Following());
    EXPECT_EQ(state.view.ViewFirst, first);
    EXPECT_EQ(window->Sweepgraph2->TopY(), 100);
    EXPECT_EQ(window->Sweepgraph2->BottomY(), -100);
    const TrendWidgetChart chart1(*window->Sweepgraph1), chart2(*window->Sweepgraph2);
    const OptionTexts texts = CurrentOptionTexts(state, chart1, chart2);
    EXPECT_EQ(texts.txtYMax2, QStringLiteral("100"));
    EXPECT_EQ(texts.txtYMin2, QStringLiteral("-100"));

    // Three notches in, three out: the bounds again, the pointer at the same value.
    turn(3);
    turn(-4);
    EXPECT_NEAR(window->trendView().ShownY(false).top, 100, 1e-3);
    EXPECT_NEAR(window->trendView().ShownY(false).bottom, -100, 1e-3);

    turn(2);
    ASSERT_NE(window->Sweepgraph2->scaleLabelText(0), QStringLiteral("100"));
    ASSERT_TRUE(window->ResetVerticalZoom);
    window->ResetVerticalZoom->trigger();
    EXPECT_EQ(window->Sweepgraph2->scaleLabelText(0), QStringLiteral("100"));
    EXPECT_EQ(window->Sweepgraph2->scaleLabelText(4), QStringLiteral("-100"));
}

TEST_F(WindowZoomTest, AltAndCtrlClicksSetTheCursorsAndTheTableShowsTheEnergy)
{
    appendSamples(200); // window 110..200, a sample a second, 0..49 kW
    EXPECT_FALSE(window->CursorDock->isVisibleTo(window.get()));
    emit window->Sweepgraph1->MouseDown(1, 4, 0.0f, 0.0f);
    emit window->Sweepgraph1->MouseUp(1, 4, 0.0f, 0.0f); // Alt: A on sample 110
    EXPECT_FALSE(window->FrmGetData1->isVisible()) << "a cursor click reads nothing out";
    EXPECT_TRUE(window->CursorDock->isVisibleTo(window.get()));
    emit window->Sweepgraph1->MouseDown(1, 2, 10.0f, 0.0f);
    emit window->Sweepgraph1->MouseUp(1, 2, 10.0f, 0.0f); // Ctrl: B on sample 120
    EXPECT_EQ(window->trendView().CursorIndex(0), 110);
    EXPECT_EQ(window->trendView().CursorIndex(1), 120);
    QTableWidget *table = window->CursorTable;
    ASSERT_GE(table->rowCount(), 8);
    // 10 kW rising by 1 kW a second to 20 kW: 150 kW.s.
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("10kW"));
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("20kW"));
    EXPECT_EQ(table->item(2, 1)->text(), QStringLiteral("10 s"));
    EXPECT_EQ(table->item(7, 0)->text(), QStringLiteral("Energy"));
    EXPECT_EQ(table->item(7, 1)->text(), QStringLiteral("0.042 kWh"));
}

TEST_F(WindowZoomTest, APlainClickStillReadsOut)
{
    appendSamples(50);
    emit window->Sweepgraph1->MouseDown(1, 0, 20.0f, 0.0f);
    emit window->Sweepgraph1->MouseUp(1, 0, 20.0f, 0.0f);
    EXPECT_TRUE(window->FrmGetData1->isVisible());
    EXPECT_TRUE(window->trendView().Following());
}

TEST_F(WindowZoomTest, ARightButtonDragZoomsIntoItsRange)
{
    appendSamples(500); // window 410..500
    emit window->Sweepgraph1->MouseDown(2, 0, 20.0f, 0.0f);
    emit window->Sweepgraph1->MouseMove(2, 0, 40.0f, 0.0f);
    emit window->Sweepgraph1->MouseUp(2, 0, 40.0f, 0.0f);
    EXPECT_FALSE(window->FrmGetData1->isVisible());
    EXPECT_EQ(state.view.ViewFirst, 430);
    EXPECT_EQ(state.view.ViewLast, 450);
}

} // namespace
