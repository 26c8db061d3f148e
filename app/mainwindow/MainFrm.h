#pragma once

// The main window: the mirror of the meter's display, the two trend charts
// with their scroll bar, read-outs and statistics, START/STOP and the menus.
// It only shows and forwards: the recording, the trend view and the file
// commands live in the core and work on the program state it is given.

#include "AcquisitionController.h"
#include "AlarmMonitor.h"
#include "MainFrmPrompts.h"
#include "MeterFrame.h"
#include "ProgramState.h"
#include "ProportionalLayout.h"
#include "RecordCommands.h"
#include "RecoveryJournal.h"
#include "TrendView.h"
#include "TrendWidgetChart.h"
#include "WindowPublishing.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <array>
#include <memory>

class HelpFrm;
class frmAbout;
class QAction;
class QDockWidget;
class QRubberBand;
class QTableWidget;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QScrollBar;
class QTimer;
class SettingsStore;
class SymbolImage;

namespace LEDCtl1 {
class LED;
}
namespace Sweepgraph {
class Trend;
}

class MainFrm : public QMainWindow, private TrendViewHost, private RecordCommandsView, private AcquisitionView {
    Q_OBJECT

public:
    // Creating the window runs its load step: the reset of New, the stored
    // settings applied to the charts and the program-wide variables.
    MainFrm(ProgramState &state, SettingsStore &settings, MainFrmPrompts &prompts, QWidget *parent = nullptr);
    ~MainFrm() override;

    // Shows one decoded frame on the meter mirror.
    void ApplyDecodedFrame(const DecodedFrame &frame);
    void ShowHoldSymbol(bool lit);

    // Makes a port the one in use and ticks its menu entry.
    void SetPortInUse(std::int16_t portNumber);
    void SetPortAvailable(std::int16_t portNumber, bool available);
    // Disables the menu entries of the ports that do not exist.
    void ProbePorts();

    // The START and STOP buttons.
    void StartClick();
    void StopClick();
    AcquisitionController &acquisition() { return *acquisition_; }

    // Runs the close sequence; false when the window stays open.
    bool CloseSequence();

    // From now on every appended sample is also written to a recovery
    // journal of this window's own: the first of `path`, path-2, ... that no
    // other running window holds. It goes once nothing in it is unsaved.
    void UseRecoveryJournal(const QString &path);
    // At start-up, before the window is shown: each journal left by a run that
    // did not end cleanly is offered for recovery. Yes makes it the current
    // recording, unsaved and without a file; No deletes it. Journals of
    // windows still running are left alone.
    void OfferRecovery();
    // The program is told to end from outside (SIGTERM at log-out, kill,
    // Ctrl+C): the close sequence without its questions. The port is
    // released, and unsaved samples stay in the recovery journal for the next
    // start.
    void CloseWithoutPrompts();
    // File > Open without the dialog, for a recording named on the command line.
    void OpenFile(const QString &path);

    TrendView &trendView() { return *trendView_; }
    WindowPublishing &publishing() { return *publishing_; }
    AlarmMonitor &alarms() { return *alarms_; }
    RecordCommands &recordCommands() { return *recordCommands_; }

    // Controls under their design-time names.
    LEDCtl1::LED *LCD1 = nullptr;
    LEDCtl1::LED *LCD2 = nullptr;
    LEDCtl1::LED *LCD3 = nullptr;
    std::array<QLabel *, 5> L01{};
    QFrame *L02 = nullptr;
    QFrame *L03 = nullptr;
    std::array<SymbolImage *, SymbolCount> P01{};
    std::array<QFrame *, 82> L0{}; // 0..40 bar segments, 41..81 tick marks
    SymbolImage *L41 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Start = nullptr;
    QPushButton *Stop = nullptr;
    Sweepgraph::Trend *Sweepgraph1 = nullptr;
    Sweepgraph::Trend *Sweepgraph2 = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QGroupBox *Frame2 = nullptr; // VISUAL AREA
    QGroupBox *Frame3 = nullptr; // ALL AREA
    QLabel *aMAX = nullptr, *aMAXDate = nullptr, *aMIN = nullptr, *aMINDate = nullptr, *aAVG = nullptr,
           *aAVGDate = nullptr;
    QLabel *vMAX = nullptr, *vMAXDate = nullptr, *vMIN = nullptr, *vMINDate = nullptr, *vAVG = nullptr,
           *vAVGDate = nullptr;
    QFrame *FrmGetData1 = nullptr;
    QFrame *FrmGetData2 = nullptr;
    std::array<QLabel *, 4> GetData{};
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;

    QMenu *File = nullptr;
    QMenu *Setup = nullptr;
    QMenu *SetPort = nullptr;
    QMenu *Help = nullptr;
    QAction *New = nullptr, *Open = nullptr, *Save = nullptr, *SaveAs = nullptr, *ExportCsv = nullptr,
            *PrintSetup = nullptr, *Print = nullptr, *Exit = nullptr;
    std::array<QAction *, 4> COM{}; // COM1..COM4
    QAction *Option = nullptr;
    QAction *contents = nullptr; // Help > Readme...
    QAction *about = nullptr;    // Help > About...
    QLabel *LinkStatus = nullptr; // "Recording from ..." / "Reconnecting to ..." in the status bar
    QLabel *JournalStatus = nullptr; // why unsaved samples are not journaled, in the status bar
    QLabel *FrameStatus = nullptr;   // how many damaged frames came in, in the status bar
    QLabel *QuestionStatus = nullptr; // a function-change question nobody answered, in the status bar
    QLabel *PublishStatus = nullptr; // "MQTT: ..." in the status bar while publishing
    QLabel *AlarmStatus = nullptr;   // the latest limit alarm, in the status bar; hidden without one

    // View menu: zoom, pan and the measurement cursors.
    QMenu *View = nullptr;
    QAction *ZoomIn = nullptr, *ZoomOut = nullptr, *PanLeft = nullptr, *PanRight = nullptr, *GoToStart = nullptr,
            *GoToEnd = nullptr, *FitAll = nullptr, *BackToLive = nullptr, *SetCursorA = nullptr,
            *SetCursorB = nullptr, *ClearCursors = nullptr;
    QLabel *FollowStatus = nullptr; // shown while the charts do not follow the newest sample
    QDockWidget *CursorDock = nullptr;
    QTableWidget *CursorTable = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildReadingFrame(QWidget *central);
    void buildCharts(QWidget *central);
    void buildStatistics(QWidget *central);
    void buildReadouts(QWidget *central);
    void setToolTips();
    // Names for assistive technology and the keyboard's way through the window.
    void setAccessibility();
    void describeChart(bool firstDisplay);
    void placeReadout(QFrame *frame, const Sweepgraph::Trend *chart, bool rightHalf);
    // Opens where the window was last closed if that still fits a screen,
    // else at a size that fits the primary screen.
    void placeWindow();
    void followClientSize(QSize clientSize);
    // Dates and values are never cut: a text too long for its label is set smaller.
    void showFittedText(QLabel *label, const QString &text);
    void showReadout(int chart, const std::optional<Readout> &readout);
    void LoadStep();
    void resetMeterDisplay();
    void showLinkState(LinkState linkState);
    void showDamagedFrames(quint64 count);
    void showQuestionUnanswered();
    // START down while recording, STOP down otherwise.
    void showRunning(bool running);
    void updatePortToolTips();
    // The journal goes when a File command left nothing unsaved.
    void settleJournal();
    void recoverRecording(std::vector<Sample> records);
    void buildPublishing();
    void buildAlarms();
    // A display in alarm shows its value in the alarm colour.
    void showAlarms();

    // Zoom, pan and cursors (MainFrmZoom.cpp).
    void buildViewMenu();
    void buildCursorTable();
    void connectChartGestures(Sweepgraph::Trend *chart, int number);
    void chartMouseDown(Sweepgraph::Trend *chart, qint16 button, qint16 shift, float x);
    void chartMouseMove(Sweepgraph::Trend *chart, float x);
    // True when the release ended a pan, a rubber band or placed a cursor,
    // so that it reads nothing out.
    bool chartMouseUp(qint16 shift, float x);
    void chartWheel(qint16 delta, qint16 shift, float x);
    void placeRubberBand(Sweepgraph::Trend *chart, float from, float to);
    QString allAreaDetails();

    // AcquisitionView
    void showHoldSymbol(bool lit) override;
    void showDisplay(const DecodedFrame &frame) override;
    bool askCreateNewFile() override;
    void withdrawQuestion() override;
    void runNewCommand() override;
    void followLatestSample() override;

    // TrendViewHost
    void setScrollBar(std::int32_t maximum, std::int32_t value) override;
    void showStatistics(const StatisticsLabels &labels) override;
    bool deferChartRefresh() override;
    void showFollowing(bool following) override;
    void showCursorFigures(const std::optional<CursorFigures> &figures) override;

    // RecordCommandsView
    Answer askYesNoCancel(const QString &text) override;
    QString chooseOpenFile(const QString &folder) override;
    QString chooseSaveFile(const QString &folder, const QString &suggestedName) override;
    QString chooseCsvFile(const QString &folder, const QString &suggestedName) override;
    bool confirmOverwrite(const QString &path) override;
    bool confirmReplace(const QString &text) override;
    void showError(const QString &text) override;
    void setCaption(const QString &caption) override;
    float chartRightx() const override;
    void clearRecordingView() override;
    void showLoadedRecording(std::int32_t scrollPosition) override;

    ProgramState &state_;
    SettingsStore &settings_;
    MainFrmPrompts &prompts_;
    QWidget *central_ = nullptr;
    ProportionalLayout layout_;
    double chartLabelPointSize_ = 0; // the charts' label font at the design size
    std::array<bool, 2> readoutRightHalf_{}; // where each read-out was last placed
    std::unique_ptr<QPrinter> printer_; // shared by Print Setup... and Print...
    // Live samples redraw the charts at most this often; the rest waits for the timer.
    static constexpr int LiveRedrawMs = 100;
    QTimer *liveRedraw_ = nullptr;
    QElapsedTimer lastLiveRedraw_;
    HelpFrm *helpFrm_ = nullptr;        // created on first use, reloaded at every opening
    frmAbout *aboutFrm_ = nullptr;
    std::unique_ptr<TrendWidgetChart> chart1_;
    std::unique_ptr<TrendWidgetChart> chart2_;
    std::unique_ptr<TrendView> trendView_;
    std::unique_ptr<RecordCommands> recordCommands_;
    ProgramClock clock_;
    std::unique_ptr<AcquisitionController> acquisition_;
    std::unique_ptr<RecoveryJournal> journal_;
    std::unique_ptr<WindowPublishing> publishing_;
    std::unique_ptr<AlarmMonitor> alarms_;
    bool closing_ = false;

    // A drag on a chart: panning (middle button, or Shift with the left one)
    // or a rubber band (right button) to zoom into.
    struct ChartDrag {
        enum class Kind { None, Pan, Band } kind = Kind::None;
        float startX = 0;
        float lastX = 0;
        bool moved = false;
    };
    ChartDrag drag_;
    QRubberBand *band_ = nullptr;
};
