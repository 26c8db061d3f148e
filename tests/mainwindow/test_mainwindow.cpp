#include "DisplayTexts.h"
#include "MainFrm.h"
#include "OffscreenWindow.h"
#include "OleDate.h"
#include "RecordFile.h"
#include "SettingsStore.h"
#include "SymbolImage.h"
#include "Wait.h"
#include "WindowPlacement.h"

#include <LED.h>
#include <Trend.h>

#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <limits>
#include <set>

namespace {

class MainWindowTest : public OffscreenProgramTest {
protected:
    void SetUp() override
    {
        OffscreenProgramTest::SetUp();
        QLocale::setDefault(QLocale::c());
    }

    // A window of its own on the test's settings; the test may make several.
    std::unique_ptr<MainFrm> makeWindow()
    {
        auto window = std::make_unique<MainFrm>(state, settings, prompts);
        window->show();
        return window;
    }

    static Sample sample(int i, float secondsApart = 1)
    {
        Sample s;
        s.FirstValue = float(i);
        s.FirstUnit = 0x08;
        s.Seconds = float(i) * secondsApart;
        s.Stamp = LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(10, 37, 0)).addSecs(i));
        return s;
    }

    void appendSamples(MainFrm &window, int count)
    {
        for (int i = 1; i <= count; ++i) {
            state.store.AppendSample(sample(i));
            state.acquisition.Modified = true;
            window.trendView().FollowLatestSample();
        }
    }

    // A recording file of `count` samples with the values 1, 2, 3, ...
    QString writeRecording(int count, float secondsApart = 1)
    {
        SampleStore store;
        for (int i = 1; i <= count; ++i)
            store.AppendSample(sample(i, secondsApart));
        RecomputeStatistics(store);
        const QString path = dir.filePath(QStringLiteral("recording-%1.KRD").arg(count));
        EXPECT_TRUE(WriteRecordFile(path, store).ok);
        return path;
    }

    // Opens the Options dialog and lets `act` work it once it is up.
    void workOptions(MainFrm &window, const std::function<void(QWidget &)> &act)
    {
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog && dialog->objectName() == QLatin1String("OptionFrm") && dialog->isVisible()) {
                poll.stop();
                act(*dialog);
            } else if (waited.hasExpired(20000)) {
                poll.stop();
                ADD_FAILURE() << "the Options dialog did not come up";
                if (dialog)
                    dialog->close();
            }
        });
        poll.start(10);
        window.Option->trigger();
    }

    QString iniText()
    {
        settings.sync();
        QFile file(settings.fileName());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

} // namespace

TEST_F(MainWindowTest, InitialStateAfterTheLoadStep)
{
    auto window = makeWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ampero Clamp    "));
    EXPECT_EQ(window->LCD1->Caption(), QStringLiteral("8.8.8.8"));
    EXPECT_EQ(window->LCD2->Caption(), QStringLiteral("88:88"));
    EXPECT_EQ(window->LCD3->Caption(), QStringLiteral("00"));
    EXPECT_EQ(window->LCD1->BorderStyle(), 0);
    for (QFrame *segment : window->L0)
        EXPECT_TRUE(segment->isVisible());
    EXPECT_TRUE(window->L41->isVisible());
    EXPECT_TRUE(window->aMAX->text().isEmpty());
    EXPECT_TRUE(window->vAVGDate->text().isEmpty());
    EXPECT_FALSE(window->FrmGetData1->isVisible());
    EXPECT_FALSE(window->Timer2->isActive());
    EXPECT_EQ(window->HScroll1->maximum(), 0);
    EXPECT_EQ(state.view.ViewFirst, 1);
    EXPECT_EQ(state.view.ViewLast, 1);
    EXPECT_EQ(window->Sweepgraph1->GridCols(), 15);
    EXPECT_EQ(window->Sweepgraph1->GridRows(), 20);
    EXPECT_EQ(window->Sweepgraph2->GridCols(), 10);
    EXPECT_EQ(window->Sweepgraph2->GridRows(), 8);
    EXPECT_EQ(window->Sweepgraph1->TrendBackColor(), 0x404040u);
    EXPECT_EQ(window->Sweepgraph1->LineWidth(), 1);
    EXPECT_TRUE(window->Stop->isChecked());
    EXPECT_EQ(window->File->title(), QStringLiteral("&File"));
    EXPECT_EQ(window->Setup->title(), QStringLiteral("Set"));
    EXPECT_EQ(window->SetPort->title(), QStringLiteral("Set Port"));
    EXPECT_EQ(window->New->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(window->Exit->text(), QStringLiteral("E&xit"));
    QStringList fileEntries;
    for (QAction *action : window->File->actions())
        fileEntries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(fileEntries, (QStringList{QStringLiteral("&New"), QStringLiteral("&Open..."), QStringLiteral("&Save"),
                                        QStringLiteral("Save &As..."), QStringLiteral("Export CSV..."),
                                        QStringLiteral("-"), QStringLiteral("Print Setup..."),
                                        QStringLiteral("Print..."), QStringLiteral("-"), QStringLiteral("E&xit")}));
    EXPECT_EQ(window->Option->text(), QStringLiteral("Options..."));
}

TEST_F(MainWindowTest, ChartsKeepTheirBagValueWhenASettingDoesNotConvert)
{
    settings.SaveSetting(QStringLiteral("FirstTrend"), QStringLiteral("TopY"), QStringLiteral("abc"));
    settings.SaveSetting(QStringLiteral("FirstTrend"), QStringLiteral("BottomY"), QStringLiteral("-20"));
    auto window = makeWindow();
    EXPECT_EQ(window->Sweepgraph1->TopY(), 100.0f) << "the value the chart restored from its bag";
    EXPECT_EQ(window->Sweepgraph1->BottomY(), -20.0f);
}

// A hand-edited "RightX=-50" left the charts without a window: no curve and a
// VISUAL AREA mean of "infA".
TEST_F(MainWindowTest, AWidthTheOptionsWouldRefuseLoadsAsTheNearestTheyTake)
{
    settings.SaveSetting(QStringLiteral("FirstTrend"), QStringLiteral("RightX"), QStringLiteral("-50"));
    auto window = makeWindow();
    EXPECT_EQ(window->Sweepgraph1->Rightx(), 5.0f);
    EXPECT_EQ(window->Sweepgraph2->Rightx(), 5.0f);
    prompts.files = {writeRecording(20)};
    window->Open->trigger();
    EXPECT_EQ(state.view.ViewFirst, 16);
    EXPECT_EQ(state.view.ViewLast, 20);
    EXPECT_EQ(window->vAVG->text(), QStringLiteral("18.0A"));
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("20A"));
}

TEST_F(MainWindowTest, OptionsOkWithANarrowerChartMovesTheWindowsEndAndTheScrollRange)
{
    settings.SaveSetting(QStringLiteral("TimeMode"), QStringLiteral("TimeMode"), QStringLiteral("False"));
    auto window = makeWindow();
    prompts.files = {writeRecording(500)};
    window->Open->trigger();
    ASSERT_EQ(state.view.ViewFirst, 401);
    ASSERT_EQ(state.view.ViewLast, 500);
    ASSERT_EQ(window->HScroll1->maximum(), 400);

    workOptions(*window, [](QWidget &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("txtXMax"))->setText(QStringLiteral("50"));
        dialog.findChild<QPushButton *>(QStringLiteral("OK"))->click();
    });
    EXPECT_EQ(window->Sweepgraph1->Rightx(), 50.0f);
    EXPECT_EQ(state.view.ViewFirst, 401);
    EXPECT_EQ(state.view.ViewLast, 451);
    EXPECT_EQ(window->HScroll1->maximum(), 450);
    EXPECT_EQ(window->HScroll1->value(), 400);
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("451A")) << "VISUAL AREA covers the samples shown";
    EXPECT_EQ(window->vAVGDate->text(), TimeText(state.store.sample(451).Stamp));

    window->HScroll1->setValue(450);
    EXPECT_EQ(state.view.ViewFirst, 451);
    EXPECT_EQ(state.view.ViewLast, 500);
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("500A"));
}

// The x-axis mode acts at once, so even CANCEL leaves a new axis behind.
TEST_F(MainWindowTest, TheAxisModeChangedInOptionsThenCancelFitsTheWindowToo)
{
    settings.SaveSetting(QStringLiteral("TimeMode"), QStringLiteral("TimeMode"), QStringLiteral("False"));
    auto window = makeWindow();
    prompts.files = {writeRecording(500, 2)};
    window->Open->trigger();
    ASSERT_EQ(state.view.ViewLast, 500);

    workOptions(*window, [](QWidget &dialog) {
        dialog.findChild<QCheckBox *>(QStringLiteral("TimeMode"))->click();
        dialog.findChild<QPushButton *>(QStringLiteral("Cancel"))->click();
    });
    ASSERT_TRUE(state.view.TimeMode);
    // 100 s of samples 2 s apart.
    EXPECT_EQ(state.view.ViewFirst, 401);
    EXPECT_EQ(state.view.ViewLast, 451);
    EXPECT_EQ(window->HScroll1->maximum(), 450);
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("451A"));
}

TEST_F(MainWindowTest, PortMenuTicksThePortInUseEvenWhenDisabled)
{
    auto window = makeWindow();
    window->SetPortAvailable(3, false);
    window->SetPortAvailable(4, false);
    window->SetPortInUse(3);
    EXPECT_TRUE(window->COM[2]->isChecked());
    EXPECT_FALSE(window->COM[2]->isEnabled());
    EXPECT_FALSE(window->COM[0]->isChecked());
    EXPECT_TRUE(window->COM[1]->isEnabled());
    EXPECT_EQ(state.portNumber, 3);
}

TEST_F(MainWindowTest, DecodedFrameIsAppliedToTheDisplay)
{
    auto window = makeWindow();
    DecodedFrame frame;
    frame.display.LCD1 = "12.35";
    frame.display.LCD2 = "230.1";
    frame.display.LCD3 = "7";
    frame.display.L01 = {"AC", "", "MR", "A", "V"};
    frame.display.L02 = true;
    frame.display.P01[SymbolPhase1] = true;
    frame.display.L0[1] = frame.display.L0[2] = true;
    window->ApplyDecodedFrame(frame);
    EXPECT_EQ(window->LCD1->Caption(), QStringLiteral("12.35"));
    EXPECT_EQ(window->LCD3->Caption(), QStringLiteral("7"));
    EXPECT_EQ(window->L01[0]->text(), QStringLiteral("AC"));
    EXPECT_EQ(window->L01[2]->text(), QStringLiteral("MR"));
    EXPECT_TRUE(window->L02->isVisible());
    EXPECT_FALSE(window->L03->isVisible());
    EXPECT_TRUE(window->P01[SymbolPhase1]->isVisible());
    EXPECT_FALSE(window->P01[SymbolHold]->isVisible());
    EXPECT_TRUE(window->L0[0]->isVisible()) << "segment 0 is fixed";
    EXPECT_TRUE(window->L0[2]->isVisible());
    EXPECT_FALSE(window->L0[3]->isVisible());
    EXPECT_TRUE(window->L0[60]->isVisible()) << "tick marks stay";
    EXPECT_FALSE(window->L41->isVisible());
    window->ShowHoldSymbol(true);
    EXPECT_TRUE(window->P01[SymbolHold]->isVisible());
}

TEST_F(MainWindowTest, ReadoutPlacementAndThreeSecondTimer)
{
    auto window = makeWindow();
    state.view.TimeMode = false;
    appendSamples(*window, 20);
    Sweepgraph::Trend *chart = window->Sweepgraph1;
    emit chart->MouseUp(1, 0, 60.0f, 0.0f); // right half
    EXPECT_TRUE(window->FrmGetData1->isVisible());
    EXPECT_EQ(window->FrmGetData1->pos(), chart->geometry().topLeft());
    EXPECT_EQ(window->GetData[0]->text(), QStringLiteral("20A"));
    EXPECT_EQ(state.view.MarkIndex1, 20);
    EXPECT_TRUE(window->Timer2->isActive());
    EXPECT_EQ(window->Timer2->interval(), 3000);

    emit chart->MouseUp(1, 0, 2.0f, 0.0f); // left half
    EXPECT_EQ(window->FrmGetData1->geometry().bottomRight(), chart->geometry().bottomRight());
    EXPECT_EQ(window->GetData[0]->text(), QStringLiteral("3A"));
    EXPECT_FALSE(window->FrmGetData2->isVisible()) << "chart 2's read-out is independent";

    // A second click restarts the three seconds: halfway through them, time
    // being what is tested.
    RunEventsFor(1500);
    QElapsedTimer sinceSecondClick;
    sinceSecondClick.start();
    emit chart->MouseUp(1, 0, 3.0f, 0.0f);
    static_cast<void>(
        QTest::qWaitFor([&] { return !window->FrmGetData1->isVisible(); }, 8000)); // the checks below tell
    EXPECT_FALSE(window->FrmGetData1->isVisible());
    EXPECT_GE(sinceSecondClick.elapsed(), 2950);
    EXPECT_FALSE(window->Timer2->isActive());
}

TEST_F(MainWindowTest, ClicksOnAnEmptyRecordingDoNothing)
{
    auto window = makeWindow();
    emit window->Sweepgraph2->MouseUp(1, 0, 10.0f, 0.0f);
    EXPECT_FALSE(window->FrmGetData2->isVisible());
    EXPECT_FALSE(window->Timer3->isActive());
}

TEST_F(MainWindowTest, UserScrollMovesBothCharts)
{
    auto window = makeWindow();
    state.view.TimeMode = false;
    appendSamples(*window, 300);
    EXPECT_EQ(window->HScroll1->value(), 210);
    window->HScroll1->setValue(50);
    EXPECT_EQ(state.view.ViewFirst, 51);
    EXPECT_EQ(state.view.ViewLast, 151);
    EXPECT_FALSE(window->vMAX->text().isEmpty());
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("151A"));
}

TEST_F(MainWindowTest, LiveSamplesRedrawTheChartsAtMostTenTimesASecond)
{
    auto window = makeWindow();
    state.view.TimeMode = false;
    int paints = 0;
    QObject::connect(window->Sweepgraph1, &Sweepgraph::Trend::Paint, [&paints] { ++paints; });
    QElapsedTimer burst;
    burst.start();
    appendSamples(*window, 200);
    const qint64 burstMs = burst.elapsed();
    EXPECT_LE(paints, 1 + burstMs / 100 + 1);
    EXPECT_EQ(state.view.ViewLast, 200) << "the view follows every sample at once";
    RunEventsFor(250); // past the 100 ms in which redraws are held back: time is what is tested
    EXPECT_GE(paints, 2) << "the last sample is drawn when the burst is over";
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("200A"));
    // A user's scroll still redraws at once.
    const int before = paints;
    window->HScroll1->setValue(20);
    EXPECT_EQ(paints, before + 1);
}

TEST_F(MainWindowTest, CloseWithoutUnsavedSamplesAsksNothingAndWritesThePort)
{
    auto window = makeWindow();
    window->SetPortInUse(2);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_TRUE(iniText().contains(QStringLiteral("ComPort=2")));
}

TEST_F(MainWindowTest, CloseCancelKeepsTheWindowAndTheSamples)
{
    auto window = makeWindow();
    appendSamples(*window, 5);
    prompts.answers = {SessionPrompts::Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("Save File Before Quite?")});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(state.store.SampleCount, 5);
    EXPECT_FALSE(iniText().contains(QStringLiteral("ComPort=")));
}

TEST_F(MainWindowTest, CloseNoEndsWithoutSaving)
{
    auto window = makeWindow();
    appendSamples(*window, 5);
    prompts.answers = {SessionPrompts::Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(iniText().contains(QStringLiteral("ComPort=1")));
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.KRD")}).isEmpty());
}

TEST_F(MainWindowTest, CloseYesSavesThroughSaveAsEvenWithAFileName)
{
    auto window = makeWindow();
    appendSamples(*window, 5);
    state.RecordFileName = dir.filePath(QStringLiteral("old.KRD"));
    const QString chosen = dir.filePath(QStringLiteral("closing.KRD"));
    prompts.answers = {SessionPrompts::Answer::Yes};
    prompts.files = {chosen};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("Save File Before Quite?")});
    EXPECT_EQ(QFileInfo(chosen).size(), 32 * 6);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("old.KRD")))) << "Save As, not Save";
}

TEST_F(MainWindowTest, CloseYesThenCancelledSaveKeepsTheWindowOpen)
{
    auto window = makeWindow();
    appendSamples(*window, 5);
    prompts.answers = {SessionPrompts::Answer::Yes};
    prompts.files = {QString()};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(state.store.SampleCount, 5);
    EXPECT_TRUE(state.acquisition.Modified);
}

TEST_F(MainWindowTest, CloseYesThenFailedSaveKeepsTheWindowOpen)
{
    auto window = makeWindow();
    appendSamples(*window, 5);
    prompts.answers = {SessionPrompts::Answer::Yes};
    prompts.files = {QStringLiteral("/nonexistent-folder/x.KRD")};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(state.acquisition.Modified);
}

TEST_F(MainWindowTest, ControlsScaleWithTheWindow)
{
    auto window = makeWindow();
    window->resize(1120, 760);
    QApplication::processEvents();
    const QRect small = window->Sweepgraph1->geometry();
    window->resize(1680, 1140);
    QApplication::processEvents();
    const QRect large = window->Sweepgraph1->geometry();
    EXPECT_NEAR(double(large.width()) / small.width(), 1.5, 0.05);
    EXPECT_NEAR(double(large.left()) / small.left(), 1.5, 0.05);
    EXPECT_GT(window->LCD1->width(), 300);
}

TEST_F(MainWindowTest, EveryControlHasAToolTip)
{
    auto window = makeWindow();
    QWidget *central = window->centralWidget();
    QList<QWidget *> controls;
    for (QAbstractButton *button : central->findChildren<QAbstractButton *>())
        controls << button;
    for (Sweepgraph::Trend *chart : central->findChildren<Sweepgraph::Trend *>())
        controls << chart;
    for (LEDCtl1::LED *led : central->findChildren<LEDCtl1::LED *>())
        controls << led;
    for (QScrollBar *bar : central->findChildren<QScrollBar *>())
        controls << bar;
    controls << window->aMAX << window->aMAXDate << window->aMIN << window->aMINDate << window->aAVG << window->aAVGDate
             << window->vMAX << window->vMAXDate << window->vMIN << window->vMINDate << window->vAVG << window->vAVGDate
             << window->FrmGetData1 << window->FrmGetData2;
    // START and STOP, two charts, three LED displays, the scroll bar, twelve statistics fields, two read-outs.
    EXPECT_EQ(controls.size(), 2 + 2 + 3 + 1 + 12 + 2);
    std::set<QString> tips;
    for (QWidget *control : controls) {
        EXPECT_FALSE(control->toolTip().trimmed().isEmpty()) << qPrintable(control->objectName());
        tips.insert(control->toolTip());
    }
    EXPECT_EQ(tips.size(), std::size_t(controls.size())) << "each tool tip tells its own control apart";
}

TEST_F(MainWindowTest, ValuesThatAreNoNumberReadWellInTheLabelsAndTheCsvExport)
{
    // A recording as a damaged disk or another program may leave it.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float first, second;
        std::uint8_t mode;
    } rows[] = {
        {3.4e38f, 3.4e38f, 0}, {inf, inf, 0x40 /* Time */}, {-inf, -inf, 0}, {nan, nan, 0x40}, {-nan, 12.5f, 0},
    };
    SampleStore recording;
    int i = 0;
    for (const auto &row : rows) {
        Sample s;
        s.FirstValue = row.first;
        s.FirstUnit = 0x08; // A
        s.SecondValue = row.second;
        s.SecondUnit = 0x02; // V
        s.Mode = row.mode;
        s.Seconds = float(++i);
        s.Stamp = LocalToOleDate(QDateTime(QDate(2002, 6, 7), QTime(10, 37, 0)).addSecs(i));
        recording.AppendSample(s);
    }
    StatisticsRecord::setMaxIndex(recording.statistics(), 2);
    StatisticsRecord::setMinIndex(recording.statistics(), 3);
    StatisticsRecord::setMean(recording.statistics(), nan);
    const QString file = dir.filePath(QStringLiteral("odd.KRD"));
    ASSERT_TRUE(WriteRecordFile(file, recording).ok);

    auto window = makeWindow();
    state.view.TimeMode = false; // a click at x reads sample x + 1
    prompts.files = {file};
    window->Open->trigger();
    ASSERT_EQ(state.store.SampleCount, 5);
    QApplication::processEvents();
    EXPECT_EQ(window->aMAX->text(), QStringLiteral("OL"));
    EXPECT_EQ(window->aMIN->text(), QStringLiteral("-OL"));
    EXPECT_EQ(window->aAVG->text(), QStringLiteral("---"));
    EXPECT_EQ(window->vMAX->text(), QStringLiteral("OL"));
    EXPECT_EQ(window->vMIN->text(), QStringLiteral("-OL"));
    EXPECT_EQ(window->vAVG->text(), QStringLiteral("---"));
    EXPECT_FALSE(window->vMAXDate->text().isEmpty());

    const struct {
        float x;
        QString first, second;
    } clicks[] = {
        {0, QStringLiteral("3.4E+38A"), QStringLiteral("3.4E+38V")}, {1, QStringLiteral("OL"), QStringLiteral("OL")},
        {2, QStringLiteral("-OL"), QStringLiteral("-OL")},           {3, QStringLiteral("---"), QStringLiteral("---")},
        {4, QStringLiteral("---"), QStringLiteral("12.5V")},
    };
    for (const auto &click : clicks) {
        emit window->Sweepgraph1->MouseUp(1, 0, click.x, 0.0f);
        emit window->Sweepgraph2->MouseUp(1, 0, click.x, 0.0f);
        EXPECT_EQ(window->GetData[0]->text(), click.first) << click.x;
        EXPECT_EQ(window->GetData[3]->text(), click.second) << click.x;
    }

    const QString csv = dir.filePath(QStringLiteral("odd.csv"));
    prompts.files = {csv};
    window->ExportCsv->trigger();
    QFile exported(csv);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = exported.readAll().split('\n');
    ASSERT_EQ(lines.size(), 7); // the header, five samples, the empty text after the last newline
    const char *const values[] = {"3.4e+38", "inf", "-inf", "nan", "nan"};
    const char *const seconds[] = {"3.4e+38", "inf", "-inf", "nan", "12.5"};
    for (int row = 0; row < 5; ++row) {
        const QList<QByteArray> cells = lines[row + 1].split(',');
        ASSERT_EQ(cells.size(), 11) << row;
        EXPECT_EQ(cells[3], values[row]) << "first_value of sample " << row + 1;
        EXPECT_EQ(cells[5], seconds[row]) << "second_value of sample " << row + 1;
    }
}

TEST_F(MainWindowTest, OpensToFitTheScreenAndComesBackWhereItWasClosed)
{
    auto window = makeWindow();
    QApplication::processEvents();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << "on an 800 x 600 screen";
    const QSize client = window->centralWidget()->size();
    EXPECT_NEAR(double(client.width()) / client.height(), 1000.0 / 680.0, 0.01);
    // Nothing smaller than the legible minimum.
    window->resize(200, 150);
    QApplication::processEvents();
    EXPECT_EQ(window->centralWidget()->size(), ClientSizeAt(MainWindowSize::MinimumScale));

    window->setGeometry(QRect(20, 30, 760, 560));
    QApplication::processEvents();
    ASSERT_TRUE(window->close());
    window.reset();
    EXPECT_TRUE(
        iniText().contains(QLatin1String("[MainWindow]\nHeight=560\nLeft=20\nMaximized=False\nTop=30\nWidth=760")))
        << qPrintable(iniText());
    EXPECT_TRUE(iniText().contains(QLatin1String("[ComPort]\nComPort=1")));
    window = makeWindow();
    EXPECT_EQ(window->geometry(), QRect(20, 30, 760, 560));
    ASSERT_TRUE(window->close());
    window.reset();

    // Left where no screen is now: the default again.
    WriteSetting(settings, Setting::WindowLeft, QStringLiteral("1700"));
    window = makeWindow();
    EXPECT_TRUE(screen.contains(window->frameGeometry()));
}

namespace {

// The widest statistics texts a recording can give: long values, the widest
// digits in the date and time.
void appendWideSamples(ProgramState &state, MainFrm &window)
{
    for (const float value : {-8888.888f, 8888.888f}) {
        Sample s;
        s.FirstValue = value;
        s.FirstUnit = 0x80; // kWh
        s.Seconds = float(state.store.SampleCount + 1);
        s.Stamp = LocalToOleDate(QDateTime(QDate(2028, 12, 28), QTime(20, 58, 58)));
        state.store.AppendSample(s);
        window.trendView().FollowLatestSample();
    }
    window.trendView().RefreshCharts();
}

QList<QLabel *> statisticsLabels(MainFrm &window)
{
    return {window.aMAX, window.aMAXDate, window.aMIN, window.aMINDate, window.aAVG, window.aAVGDate,
            window.vMAX, window.vMAXDate, window.vMIN, window.vMINDate, window.vAVG, window.vAVGDate};
}

QLabel *titleLabel(QGroupBox *frame, const char *text)
{
    for (QLabel *label : frame->findChildren<QLabel *>())
        if (label->text() == QLatin1String(text))
            return label;
    return nullptr;
}

} // namespace

TEST_F(MainWindowTest, AtTheMinimumSizeNoTextIsCutAndNoFrameCrossesALabel)
{
    auto window = makeWindow();
    state.view.TimeMode = false;
    appendWideSamples(state, *window);
    window->resize(window->minimumSize());
    QApplication::processEvents();
    ASSERT_EQ(window->centralWidget()->size(), ClientSizeAt(MainWindowSize::MinimumScale));
    emit window->Sweepgraph1->MouseUp(1, 0, 1.0f, 0.0f);
    emit window->Sweepgraph2->MouseUp(1, 0, 1.0f, 0.0f);
    QApplication::processEvents();
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);

    QList<QLabel *> texts = statisticsLabels(*window);
    for (QLabel *label : window->GetData)
        texts << label;
    for (QLabel *label : texts) {
        ASSERT_FALSE(label->text().isEmpty()) << qPrintable(label->objectName());
        const QFontMetrics metrics(label->font(), label);
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
            << qPrintable(label->objectName() + QLatin1Char(' ') + label->text());
        EXPECT_LE(metrics.height(), label->contentsRect().height()) << qPrintable(label->objectName());
    }
    EXPECT_TRUE(window->aMAXDate->text().contains(QLatin1String("20:58:58")));

    using Row = std::array<QLabel *, 2>;
    const std::pair<QGroupBox *, std::array<Row, 3>> groups[] = {
        {window->Frame3,
         {Row{window->aMAX, window->aMAXDate}, Row{window->aMIN, window->aMINDate},
          Row{window->aAVG, window->aAVGDate}}},
        {window->Frame2,
         {Row{window->vMAX, window->vMAXDate}, Row{window->vMIN, window->vMINDate},
          Row{window->vAVG, window->vAVGDate}}}};
    for (const auto &[frame, rows] : groups) {
        for (const Row &row : rows) {
            // Inside the frame, below its title.
            EXPECT_TRUE(frame->contentsRect().contains(row[0]->geometry())) << qPrintable(row[0]->objectName());
            EXPECT_TRUE(frame->contentsRect().contains(row[1]->geometry())) << qPrintable(row[1]->objectName());
            // A frame line across the row would show in the gap between its
            // two labels, which is otherwise all the box's own background.
            const QPoint gapLeft = row[0]->mapTo(window.get(), row[0]->rect().topRight()) + QPoint(1, 0);
            const QPoint gapRight = row[1]->mapTo(window.get(), row[1]->rect().topLeft()) - QPoint(1, 0);
            ASSERT_LE(gapLeft.x(), gapRight.x()) << "the labels of a row do not touch";
            const QRgb inside = shot.pixel(gapLeft.x(), gapLeft.y() + row[0]->height() / 2);
            for (int y = gapLeft.y(); y < gapLeft.y() + row[0]->height(); ++y)
                for (int x = gapLeft.x(); x <= gapRight.x(); ++x)
                    ASSERT_EQ(shot.pixel(x, y), inside)
                        << "at " << x << ", " << y << " beside " << qPrintable(row[0]->objectName());
        }
        for (const char *title : {"MAX:", "MIN:", "AVG:"}) {
            QLabel *label = titleLabel(frame, title);
            ASSERT_NE(label, nullptr) << title;
            EXPECT_LE(QFontMetrics(label->font(), label).horizontalAdvance(label->text()),
                      label->contentsRect().width());
        }
    }

    // The charts' labels show their texts whole.
    for (Sweepgraph::Trend *chart : {window->Sweepgraph1, window->Sweepgraph2}) {
        for (const char *name : {"L01_0", "L01_2", "L01_4", "L02_0", "L02_1"}) {
            const auto *label = chart->findChild<QLabel *>(QLatin1String(name));
            ASSERT_NE(label, nullptr) << name;
            const QFontMetrics metrics(label->font(), label);
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << name;
            EXPECT_LE(metrics.height(), label->height()) << name;
            EXPECT_TRUE(chart->rect().contains(label->geometry())) << name;
        }
    }
}

TEST_F(MainWindowTest, AllTextScalesTogether)
{
    auto window = makeWindow();
    window->resize(window->minimumSize());
    QApplication::processEvents();
    QLabel *title = titleLabel(window->Frame3, "MAX:");
    ASSERT_NE(title, nullptr);
    const double smallTitle = title->font().pointSizeF();
    const double smallChart = window->Sweepgraph1->LabelFontSize();
    const double smallButton = window->Start->font().pointSizeF();
    const double smallReadout = window->GetData[1]->font().pointSizeF();
    window->resize(window->minimumSize() * 1.5);
    QApplication::processEvents();
    const double ratio = title->font().pointSizeF() / smallTitle;
    EXPECT_NEAR(ratio, 1.5, 0.05);
    EXPECT_NEAR(window->Sweepgraph1->LabelFontSize() / smallChart, ratio, 0.01);
    EXPECT_NEAR(window->Sweepgraph2->LabelFontSize() / smallChart, ratio, 0.01);
    EXPECT_NEAR(window->Start->font().pointSizeF() / smallButton, ratio, 0.01);
    EXPECT_NEAR(window->GetData[1]->font().pointSizeF() / smallReadout, ratio, 0.01);
    EXPECT_NEAR(window->FrmGetData1->width() / (window->Sweepgraph1->width() / 640.0), 180, 2)
        << "the read-out grows with the chart";
}

TEST_F(MainWindowTest, OneSampleShowsOneTimeEverywhere)
{
    auto window = makeWindow();
    Sample s;
    s.FirstValue = 5;
    s.FirstUnit = 0x08;
    s.Seconds = 1;
    s.Stamp = LocalToOleDate(QDateTime(QDate(2026, 12, 7), QTime(12, 9, 42, 600)));
    state.store.AppendSample(s);
    window->trendView().FollowLatestSample();
    window->trendView().RefreshCharts();
    const QString clock = QStringLiteral("12:09:42");
    for (Sweepgraph::Trend *chart : {window->Sweepgraph1, window->Sweepgraph2}) {
        EXPECT_EQ(chart->timeLabelText(0), clock);
        EXPECT_EQ(chart->timeLabelText(1), clock);
    }
    for (QLabel *label :
         {window->aMAXDate, window->aMINDate, window->aAVGDate, window->vMAXDate, window->vMINDate, window->vAVGDate})
        EXPECT_TRUE(label->text().endsWith(clock))
            << qPrintable(label->objectName() + QLatin1Char(' ') + label->text());
    emit window->Sweepgraph1->MouseUp(1, 0, 0.0f, 0.0f);
    emit window->Sweepgraph2->MouseUp(1, 0, 0.0f, 0.0f);
    EXPECT_TRUE(window->GetData[1]->text().endsWith(clock)) << qPrintable(window->GetData[1]->text());
    EXPECT_TRUE(window->GetData[2]->text().endsWith(clock)) << qPrintable(window->GetData[2]->text());
}
