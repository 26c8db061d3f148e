#include "RecordingSession.h"

#include "AlarmMonitor.h"
#include "PortSettings.h"
#include "SettingsStore.h"
#include "StartupSettings.h"

#include <QCoreApplication>

RecordingSession::RecordingSession(ProgramState &state, SettingsStore &settings, SessionPrompts &prompts,
                                   SessionView &view, TrendChart &chart1, TrendChart &chart2, QObject *parent)
    : QObject(parent), state_(state), settings_(settings), prompts_(prompts), view_(view), chart1_(chart1),
      chart2_(chart2), chartSettings1_(chart1), chartSettings2_(chart2)
{
    trendView_ = std::make_unique<TrendView>(state_, chart1_, chart2_, static_cast<TrendViewHost &>(*this));
    recordCommands_ = std::make_unique<RecordCommands>(state_, static_cast<RecordCommandsView &>(*this));
    acquisition_ = std::make_unique<AcquisitionController>(state_.store, state_.acquisition,
                                                           static_cast<AcquisitionView &>(*this), clock_, this);
    connect(acquisition_.get(), &AcquisitionController::stateChanged, this, &RecordingSession::showLinkState);
    connect(acquisition_.get(), &AcquisitionController::damagedFramesChanged, this,
            [this](quint64 count) { view_.showDamagedFrames(count, state_.acquisition.DiscardDamagedFrames); });
    connect(acquisition_.get(), &AcquisitionController::questionUnanswered, this,
            [this] { view_.showQuestionUnanswered(); });
    publishing_ = std::make_unique<WindowPublishing>(settings_, state_.store);
    alarms_ = std::make_unique<AlarmMonitor>();
    connect(publishing_.get(), &WindowPublishing::stateTextChanged, this,
            [this](const QString &text) { view_.showPublishState(text, publishing_->failed()); });
    liveRedraw_.setSingleShot(true);
    connect(&liveRedraw_, &QTimer::timeout, this, [this] {
        lastLiveRedraw_.start();
        trendView_->RefreshCharts();
    });
}

RecordingSession::~RecordingSession() = default;

void RecordingSession::LoadStep()
{
    // Nothing is modified yet, so New asks nothing.
    recordCommands_->New();
    LoadStoredSettings(settings_, state_, chart1_, chart2_);
    LoadStoredChartSettings(settings_, chartSettings1_, chartSettings2_);
    std::array<QString, PortCount> devices;
    for (int i = 0; i < PortCount; ++i)
        devices[std::size_t(i)] = PortDevicePath(settings_, i + 1);
    view_.showPortDevices(devices);
    showLinkState(LinkState::Stopped);
}

WindowPlacement RecordingSession::StoredPlacement(const QList<QRect> &screens, const QRect &primaryArea,
                                                  const QSize &chrome, const QSize &minimumFrame) const
{
    return ChooseWindowPlacement(settings_, screens, primaryArea, chrome, minimumFrame);
}

void RecordingSession::StartUp(const QString &journalPath)
{
    UseRecoveryJournal(journalPath);
    ProbePorts();
    SetPortInUse(LoadStoredPortNumber(settings_));
    OfferRecovery();
    // Only now: a kill during the recovery question leaves the journals as they were.
    stopSignals_ = std::make_unique<StopSignals>();
    connect(stopSignals_.get(), &StopSignals::stopRequested, this, &RecordingSession::CloseWithoutPrompts);
}

void RecordingSession::UseRecoveryJournal(const QString &path)
{
    journal_ = std::make_unique<RecoveryJournal>(state_.store, path);
    connect(journal_.get(), &RecoveryJournal::problemChanged, this,
            [this](const QString &problem) { view_.showJournalProblem(problem); });
}

void RecordingSession::OfferRecovery()
{
    if (!journal_)
        return;
    std::optional<std::vector<Sample>> records =
        journal_->offerLeftJournals([this](const QString &question) { return prompts_.askYesNo(question); },
                                    [this](const QString &text) { prompts_.showError(text); });
    if (!records)
        return;
    LoadRecoveredRecording(state_, std::move(*records));
    recordCommands_->ShowLoadedRecording();
}

void RecordingSession::ProbePorts()
{
    const auto present = ::ProbePorts(settings_);
    for (int i = 0; i < PortCount; ++i)
        view_.showPortAvailable(std::int16_t(i + 1), present[std::size_t(i)]);
}

void RecordingSession::SetPortInUse(std::int16_t portNumber)
{
    state_.portNumber = portNumber;
    view_.showPortInUse(portNumber);
}

void RecordingSession::Start()
{
    if (acquisition_->state() != LinkState::Stopped) {
        view_.showRecording(true);
        return;
    }
    const QString device = PortDevicePath(settings_, state_.portNumber);
    const OpenFailure failure = acquisition_->start(device);
    if (failure != OpenFailure::None) {
        const QString message = StartFailureMessage(failure, state_.portNumber, device);
        if (!message.isEmpty())
            prompts_.showMessage(message);
        Stop();
        return;
    }
    view_.showRecording(true);
    publishing_->start(device);
    alarms_->start(state_.alarms);
}

void RecordingSession::Stop()
{
    view_.showRecording(false);
    acquisition_->stop();
    publishing_->stop();
    alarms_->stop();
}

void RecordingSession::New()
{
    recordCommands_->New();
    settleJournal();
}

void RecordingSession::Open()
{
    recordCommands_->Open();
    settleJournal();
}

void RecordingSession::Save()
{
    recordCommands_->Save();
    settleJournal();
}

void RecordingSession::SaveAs()
{
    recordCommands_->SaveAs();
    settleJournal();
}

void RecordingSession::ExportCsv()
{
    recordCommands_->ExportCsv();
}

void RecordingSession::OpenFile(const QString &path)
{
    recordCommands_->OpenFile(path);
    settleJournal();
}

void RecordingSession::OptionsClosed(bool accepted, bool timeModeBefore)
{
    // The charts show the y bounds just set, not a zoom of the old ones.
    if (accepted)
        trendView_->ResetVerticalZoom();
    if (accepted || state_.view.TimeMode != timeModeBefore)
        trendView_->FitWindowToChartWidth();
    if (accepted) {
        // The dialog has stored its settings and applied them to the charts.
        LoadStoredChartSettings(settings_, chartSettings1_, chartSettings2_);
        alarms_->apply(state_.alarms);
    }
}

void RecordingSession::ChartPainted(bool firstDisplay)
{
    if (firstDisplay)
        trendView_->RedrawChart1();
    else
        trendView_->RedrawChart2();
    view_.describeChart(firstDisplay, trendView_->ChartDescription(firstDisplay));
}

void RecordingSession::RefreshCharts()
{
    trendView_->RefreshCharts();
}

bool RecordingSession::CloseSequence(const WindowPlacement &placement)
{
    if (state_.acquisition.Modified) {
        switch (prompts_.askYesNoCancel(tr("Save File Before Quite?"))) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            // Unlike a plain quit, a save that was cancelled or failed keeps
            // the window and the samples.
            if (recordCommands_->SaveAs() != SaveResult::Saved)
                return false;
            break;
        case Answer::No:
            break;
        }
    }
    SaveStoredPortNumber(settings_, state_.portNumber);
    SaveWindowPlacement(settings_, placement);
    settings_.sync();
    acquisition_->stop();
    publishing_->stop();
    // Saved, or given up with No: nothing is left for a recovery.
    if (journal_)
        journal_->remove();
    return true;
}

bool RecordingSession::CloseRequested(const WindowPlacement &placement)
{
    if (closing_)
        return true;
    closing_ = CloseSequence(placement);
    return closing_;
}

void RecordingSession::CloseWithoutPrompts()
{
    if (closing_)
        return;
    closing_ = true;
    SaveStoredPortNumber(settings_, state_.portNumber);
    settings_.sync();
    acquisition_->stop();
    if (journal_)
        journal_->handOver();
    QCoreApplication::exit(0);
}

void RecordingSession::settleJournal()
{
    if (journal_)
        journal_->settle(state_.acquisition.Modified);
}

void RecordingSession::showLinkState(LinkState linkState)
{
    view_.showLinkState(linkState, state_.portNumber, acquisition_->devicePath());
}

void RecordingSession::describeCharts()
{
    view_.describeChart(true, trendView_->ChartDescription(true));
    view_.describeChart(false, trendView_->ChartDescription(false));
}

void RecordingSession::showHoldSymbol(bool lit)
{
    view_.showHoldSymbol(lit);
}
void RecordingSession::showDisplay(const DecodedFrame &frame)
{
    view_.showDisplay(frame);
}

bool RecordingSession::askCreateNewFile()
{
    return prompts_.askYesNo(QCoreApplication::translate("ReceiveCycle", ReceiveCycle::FunctionChangeQuestion));
}

void RecordingSession::withdrawQuestion()
{
    prompts_.withdrawQuestion();
}

void RecordingSession::runNewCommand()
{
    // A save before it that is cancelled or fails stops New: the recording and
    // its journal stay, and the cycle records on as after No.
    if (recordCommands_->New())
        publishing_->recordingReplaced();
    settleJournal();
}

void RecordingSession::followLatestSample()
{
    trendView_->FollowLatestSample();
    if (journal_)
        journal_->sampleAppended();
    const std::int32_t index = state_.store.SampleCount;
    for (const LimitEvent &event : alarms_->sampleAppended(state_.store.sample(index), index))
        publishing_->alarm(event);
    publishing_->sampleAppended(index);
}

void RecordingSession::setScrollBar(std::int32_t maximum, std::int32_t value)
{
    view_.setScrollBar(maximum, value);
}
void RecordingSession::showStatistics(const StatisticsLabels &labels)
{
    view_.showStatistics(labels);
}

bool RecordingSession::deferChartRefresh()
{
    if (liveRedraw_.isActive())
        return true;
    if (lastLiveRedraw_.isValid() && lastLiveRedraw_.elapsed() < LiveRedrawMs) {
        liveRedraw_.start(int(LiveRedrawMs - lastLiveRedraw_.elapsed()));
        return true;
    }
    lastLiveRedraw_.start();
    return false;
}

void RecordingSession::showFollowing(bool following)
{
    view_.showFollowing(following);
}

void RecordingSession::showCursorFigures(const std::optional<CursorFigures> &figures)
{
    view_.showCursorFigures(figures);
}

RecordingSession::Answer RecordingSession::askYesNoCancel(const QString &text)
{
    return prompts_.askYesNoCancel(text);
}
QString RecordingSession::chooseOpenFile(const QString &folder)
{
    return prompts_.chooseOpenFile(folder);
}
QString RecordingSession::chooseSaveFile(const QString &folder, const QString &suggestedName)
{
    return prompts_.chooseSaveFile(folder, suggestedName);
}
QString RecordingSession::chooseCsvFile(const QString &folder, const QString &suggestedName)
{
    return prompts_.chooseCsvFile(folder, suggestedName);
}
bool RecordingSession::confirmOverwrite(const QString &path)
{
    return prompts_.confirmOverwrite(path);
}
bool RecordingSession::confirmReplace(const QString &text)
{
    return prompts_.confirmReplace(text);
}
void RecordingSession::showError(const QString &text)
{
    prompts_.showError(text);
}
void RecordingSession::setCaption(const QString &caption)
{
    view_.setCaption(caption);
}
float RecordingSession::chartRightx() const
{
    return chart1_.Rightx();
}

void RecordingSession::clearRecordingView()
{
    trendView_->RecordingReplaced();
    chart1_.Cls();
    chart2_.Cls();
    view_.setScrollBar(0, 0);
    state_.statistics.clear();
    view_.showStatistics(state_.statistics);
    view_.resetMeterDisplay();
    describeCharts();
}

void RecordingSession::showLoadedRecording(std::int32_t scrollPosition)
{
    trendView_->RecordingReplaced();
    trendView_->RefreshCharts();
    trendView_->ScrollTo(scrollPosition, scrollPosition);
    trendView_->ShowAllAreaStatistics(MeanPattern::Loaded);
}
