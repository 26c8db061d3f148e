#pragma once

// One run of the program without its window: the recording in the program
// state, START and STOP around the receive cycle, the trend view on the two
// charts, the File commands, the recovery journal and its rules, publishing,
// and the start-up and close decisions. Each appended sample goes from here to
// the trend view, the journal and the publisher. What it shows goes through a
// SessionView, what it asks through SessionPrompts; the main window
// implements the one and forwards the user's actions here.

#include "AcquisitionController.h"
#include "ChartSettings.h"
#include "ProgramState.h"
#include "RecordCommands.h"
#include "RecoveryJournal.h"
#include "SessionPrompts.h"
#include "SessionView.h"
#include "StopSignals.h"
#include "TrendChart.h"
#include "TrendView.h"
#include "WindowPlacement.h"
#include "WindowPublishing.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <memory>

class AlarmMonitor;
class SettingsStore;

class RecordingSession : public QObject, private AcquisitionView, private TrendViewHost, private RecordCommandsView {
    Q_OBJECT

public:
    // Live samples redraw the charts at most this often; the rest waits for a timer.
    static constexpr int LiveRedrawMs = 100;

    RecordingSession(ProgramState &state, SettingsStore &settings, SessionPrompts &prompts, SessionView &view,
                     TrendChart &chart1, TrendChart &chart2, QObject *parent = nullptr);
    ~RecordingSession() override;

    // The window's load step: the reset of New and every stored setting
    // applied to the charts and the program-wide variables; STOP is down.
    void LoadStep();
    // Where the window opens: where it was last closed if that still fits a
    // screen, else at a size that fits the primary screen.
    WindowPlacement StoredPlacement(const QList<QRect> &screens, const QRect &primaryArea, const QSize &chrome,
                                    const QSize &minimumFrame) const;

    // The rest of the program's start, after the load step and before the
    // window is shown: the recovery journal in the family of `journalPath`,
    // the port probe, the stored port made the port in use, the offer of
    // journals left by runs that did not end cleanly, and from then on a
    // stop from outside (SIGTERM, SIGINT, SIGHUP) closes without questions.
    void StartUp(const QString &journalPath);

    // From now on every appended sample is also written to a recovery
    // journal: the first of `path`, path-2, ... that no other running session
    // holds. It goes once nothing in it is unsaved.
    void UseRecoveryJournal(const QString &path);
    // Each journal left by a run that did not end cleanly is offered for
    // recovery. Yes makes it the current recording, unsaved and without a
    // file; No deletes it. Journals of sessions still running are left alone.
    void OfferRecovery();
    // Disables the ports that do not exist.
    void ProbePorts();
    // Makes a port the one in use.
    void SetPortInUse(std::int16_t portNumber);

    // START and STOP.
    void Start();
    void Stop();

    // The File menu; the journal goes when a command left nothing unsaved.
    void New();
    void Open();
    void Save();
    void SaveAs();
    void ExportCsv();
    // File > Open without the dialog, for a recording named on the command line.
    void OpenFile(const QString &path);

    // The Options dialog closed: a new width or x-axis mode (which acts even
    // on CANCEL) moves the window's end and the scroll bar's range.
    void OptionsClosed(bool accepted, bool timeModeBefore);
    // A chart repainted its frame: its curve, mark and labels are drawn again.
    void ChartPainted(bool firstDisplay);
    void RefreshCharts();

    // The close sequence: an optional save, the port number and the window's
    // `placement` stored, the port released, the journal gone. False when the
    // user keeps the window open.
    bool CloseSequence(const WindowPlacement &placement);
    // The program is told to end from outside (SIGTERM at log-out, kill,
    // Ctrl+C): the close sequence without its questions. The port is
    // released, and unsaved samples stay in the recovery journal for the next
    // start. Every event loop ends, those of open dialogs too.
    void CloseWithoutPrompts();
    // The window is asked to close: once the close sequence or the stop from
    // outside has run, it goes without another question.
    bool CloseRequested(const WindowPlacement &placement);

    ProgramState &state() { return state_; }
    SettingsStore &settings() { return settings_; }
    TrendView &trendView() { return *trendView_; }
    RecordCommands &recordCommands() { return *recordCommands_; }
    AcquisitionController &acquisition() { return *acquisition_; }
    WindowPublishing &publishing() { return *publishing_; }
    AlarmMonitor &alarms() { return *alarms_; }
    const RecoveryJournal *journal() const { return journal_.get(); }
    // The charts as the settings set them, which the trend pages print by.
    const ChartSettings &chartSettings1() const { return chartSettings1_; }
    const ChartSettings &chartSettings2() const { return chartSettings2_; }

private:
    void settleJournal();
    void showLinkState(LinkState linkState);
    void describeCharts();

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
    SessionPrompts &prompts_;
    SessionView &view_;
    TrendChart &chart1_;
    TrendChart &chart2_;
    // Given every setting the charts are given, from the charts as they were built.
    ChartSettings chartSettings1_;
    ChartSettings chartSettings2_;
    ProgramClock clock_;
    std::unique_ptr<TrendView> trendView_;
    std::unique_ptr<RecordCommands> recordCommands_;
    std::unique_ptr<AcquisitionController> acquisition_;
    std::unique_ptr<RecoveryJournal> journal_;
    std::unique_ptr<WindowPublishing> publishing_;
    std::unique_ptr<AlarmMonitor> alarms_;
    std::unique_ptr<StopSignals> stopSignals_;
    QTimer liveRedraw_;
    QElapsedTimer lastLiveRedraw_;
    bool closing_ = false;
};
