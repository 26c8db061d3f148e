#pragma once

// The main window: the mirror of the meter's display, the two trend charts
// with their scroll bar, read-outs and statistics, START/STOP and the menus.
// It only shows and forwards: the recording, the trend view, the file
// commands and every decision live in its RecordingSession.

#include "MainFrmPrompts.h"
#include "MeterPanel.h"
#include "ProportionalLayout.h"
#include "RecordingSession.h"
#include "SessionView.h"
#include "StatisticsPanel.h"
#include "TrendWidgetChart.h"

#include <QMainWindow>

#include <array>
#include <memory>

class HelpFrm;
class ReadoutFrame;
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
class SymbolImage;

namespace LEDCtl1 {
class LED;
} // namespace LEDCtl1
namespace Sweepgraph {
class Trend;
} // namespace Sweepgraph

class MainFrm : public QMainWindow, public MeterPanel, public StatisticsPanel, private SessionView {
    Q_OBJECT

public:
    // Creating the window runs the session's load step: the reset of New, the
    // stored settings applied to the charts and the program-wide variables.
    MainFrm(ProgramState &state, SettingsStore &settings, SessionPrompts &prompts, QWidget *parent = nullptr);
    ~MainFrm() override;

    RecordingSession &session() { return *session_; }

    // Shows one decoded frame on the meter mirror.
    void ApplyDecodedFrame(const DecodedFrame &frame);
    void ShowHoldSymbol(bool lit);
    void SetPortAvailable(std::int16_t portNumber, bool available);

    // The user's actions, handed to the session.
    void SetPortInUse(std::int16_t portNumber) { session_->SetPortInUse(portNumber); }
    void StartClick() { session_->Start(); }
    void StopClick() { session_->Stop(); }
    // The close sequence with this window's placement; false when it stays open.
    bool CloseSequence();

    // The session's start-up steps, one by one, for the window's tests.
    void ProbePorts() { session_->ProbePorts(); }
    void UseRecoveryJournal(const QString &path) { session_->UseRecoveryJournal(path); }
    void OfferRecovery() { session_->OfferRecovery(); }
    void OpenFile(const QString &path) { session_->OpenFile(path); }

    AcquisitionController &acquisition() { return session_->acquisition(); }
    TrendView &trendView() { return session_->trendView(); }
    WindowPublishing &publishing() { return session_->publishing(); }
    RecordCommands &recordCommands() { return session_->recordCommands(); }
    AlarmMonitor &alarms() { return session_->alarms(); }

    // Controls under their design-time names; those of the meter mirror and
    // the statistics are the panels'.
    Sweepgraph::Trend *Sweepgraph1 = nullptr;
    Sweepgraph::Trend *Sweepgraph2 = nullptr;
    QScrollBar *HScroll1 = nullptr;
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
    QAction *contents = nullptr;      // Help > Readme...
    QAction *about = nullptr;         // Help > About...
    QLabel *LinkStatus = nullptr;     // "Recording from ..." / "Reconnecting to ..." in the status bar
    QLabel *JournalStatus = nullptr;  // why unsaved samples are not journaled, in the status bar
    QLabel *FrameStatus = nullptr;    // how many damaged frames came in, in the status bar
    QLabel *QuestionStatus = nullptr; // a function-change question nobody answered, in the status bar
    QLabel *PublishStatus = nullptr;  // "MQTT: ..." in the status bar while publishing
    QLabel *AlarmStatus = nullptr;    // the latest limit alarm, in the status bar; hidden without one

    // View menu: zoom, pan and the measurement cursors.
    QMenu *View = nullptr;
    QAction *ZoomIn = nullptr, *ZoomOut = nullptr, *PanLeft = nullptr, *PanRight = nullptr, *GoToStart = nullptr,
            *GoToEnd = nullptr, *FitAll = nullptr, *BackToLive = nullptr, *ResetVerticalZoom = nullptr,
            *SetCursorA = nullptr, *SetCursorB = nullptr, *ClearCursors = nullptr;
    QLabel *FollowStatus = nullptr; // shown while the charts do not follow the newest sample
    QDockWidget *CursorDock = nullptr;
    QTableWidget *CursorTable = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildCharts(QWidget *central);
    void buildReadouts();
    // The keyboard's way through the window.
    void setAccessibility();
    // Opens where the session says.
    void placeWindow();
    void followClientSize(QSize clientSize);
    void showReadout(int chart, const std::optional<Readout> &readout);
    void buildStatusLabels();
    void buildAlarms();
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
    void chartWheel(bool firstDisplay, qint16 delta, qint16 shift, float x, float y);
    void placeRubberBand(Sweepgraph::Trend *chart, float from, float to);
    QString allAreaDetails();

    // SessionView
    void showHoldSymbol(bool lit) override { ShowHoldSymbol(lit); }
    void showDisplay(const DecodedFrame &frame) override { ApplyDecodedFrame(frame); }
    void resetMeterDisplay() override;
    void showRecording(bool recording) override;
    void showLinkState(LinkState state, std::int16_t portNumber, const QString &device) override;
    void showDamagedFrames(quint64 count, bool dropped) override;
    void showQuestionUnanswered() override;
    void showPortInUse(std::int16_t portNumber) override;
    void showPortAvailable(std::int16_t portNumber, bool available) override
    {
        SetPortAvailable(portNumber, available);
    }
    void showPortDevices(const std::array<QString, PortCount> &devices) override;
    void setScrollBar(std::int32_t maximum, std::int32_t value) override;
    void showStatistics(const StatisticsLabels &labels) override;
    void showFollowing(bool following) override;
    void showCursorFigures(const std::optional<CursorFigures> &figures) override;
    void describeChart(bool firstDisplay, const QString &description) override;
    void setCaption(const QString &caption) override { setWindowTitle(caption); }
    void showJournalProblem(const QString &problem) override;
    void showPublishState(const QString &text, bool failed) override;

    ProgramState &state_;
    QWidget *central_ = nullptr;
    ProportionalLayout layout_;
    double chartLabelPointSize_ = 0; // the charts' label font at the design size
    std::unique_ptr<ReadoutFrame> readout1_;
    std::unique_ptr<ReadoutFrame> readout2_;
    std::unique_ptr<QPrinter> printer_; // shared by Print Setup... and Print...
    HelpFrm *helpFrm_ = nullptr;        // created on first use, reloaded at every opening
    frmAbout *aboutFrm_ = nullptr;
    std::unique_ptr<TrendWidgetChart> chart1_;
    std::unique_ptr<TrendWidgetChart> chart2_;
    std::unique_ptr<RecordingSession> session_;
    TrendView *trendView_ = nullptr; // the session's, for the gestures on the charts

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
