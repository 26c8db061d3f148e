#pragma once

// The main window without widgets, for the fuzz targets that drive the trend
// view and the File commands: two charts that redraw through the trend view
// when refreshed (a real chart raises Paint), a scroll bar, and answers to the
// prompts and file dialogs that the target decides.

#include "FuzzChart.h"
#include "ProgramState.h"
#include "RecordCommands.h"
#include "TrendView.h"

#include <functional>

class FuzzWindow final : public TrendViewHost, public RecordCommandsView {
public:
    explicit FuzzWindow(ProgramState &state);

    // TrendViewHost: the scroll bar is set without reporting a change, as the
    // main window does.
    void setScrollBar(std::int32_t maximum, std::int32_t value) override;
    void showStatistics(const StatisticsLabels &) override {}

    // RecordCommandsView
    Answer askYesNoCancel(const QString &) override { return answer(); }
    QString chooseOpenFile(const QString &) override { return openFile; }
    QString chooseSaveFile(const QString &, const QString &) override { return saveFile; }
    QString chooseCsvFile(const QString &, const QString &) override { return QString(); }
    bool confirmOverwrite(const QString &) override { return false; }
    bool confirmReplace(const QString &) override { return false; }
    void showError(const QString &) override { ++errors; }
    void setCaption(const QString &) override {}
    float chartRightx() const override { return chart1.Rightx(); }
    void clearRecordingView() override;
    void showLoadedRecording(std::int32_t scrollPosition) override;

    // Clicks on a chart at x (world units), as MouseUp would report them.
    void clickChart1(float x);
    void clickChart2(float x);
    // The user moves the scroll bar; the value is kept within its range.
    void scrollByUser(std::int32_t value);

    ProgramState &state;
    FuzzChart chart1, chart2;
    TrendView trendView;
    std::int32_t scrollMaximum = 0;
    std::int32_t scrollValue = 0;
    std::function<Answer()> answer = [] { return Answer::No; };
    QString openFile; // empty: the dialog is cancelled
    QString saveFile;
    int errors = 0;

private:
    void checkView(bool redrewChart1) const;
};
