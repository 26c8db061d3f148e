#pragma once

// What the recording session shows: the main window implements it, a test
// records it. Only texts, numbers and states go through it; the session
// decides, the view shows.

#include "AcquisitionController.h"
#include "CursorFigures.h"
#include "MeterFrame.h"
#include "PortSettings.h"
#include "ProgramState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class SessionView {
public:
    virtual ~SessionView() = default;

    // The meter mirror.
    virtual void showHoldSymbol(bool lit) = 0;
    // Every display element of a frame that got past the HOLD rule.
    virtual void showDisplay(const DecodedFrame &frame) = 0;
    // LCD1 "8.8.8.8", LCD2 "88:88", LCD3 "00", every bar-graph segment and the arrow visible.
    virtual void resetMeterDisplay() = 0;

    // START down, and the File and port menus disabled, while recording.
    virtual void showRecording(bool recording) = 0;
    virtual void showLinkState(LinkState state, std::int16_t portNumber, const QString &device) = 0;
    // `count` damaged frames came in since START; `dropped` when they are discarded.
    virtual void showDamagedFrames(quint64 count, bool dropped) = 0;
    // The function-change question went unanswered and counted as No.
    virtual void showQuestionUnanswered() = 0;

    // The port menu: the port in use ticked, missing ports disabled, each
    // entry telling its device.
    virtual void showPortInUse(std::int16_t portNumber) = 0;
    virtual void showPortAvailable(std::int16_t portNumber, bool available) = 0;
    virtual void showPortDevices(const std::array<QString, PortCount> &devices) = 0;

    // The trend view around the charts. A scroll-bar move the session makes
    // must not come back as a user's scroll.
    virtual void setScrollBar(std::int32_t maximum, std::int32_t value) = 0;
    virtual void showStatistics(const StatisticsLabels &labels) = 0;
    virtual void showFollowing(bool following) = 0;
    virtual void showCursorFigures(const std::optional<CursorFigures> &figures) = 0;
    // What a chart shows, for assistive technology.
    virtual void describeChart(bool firstDisplay, const QString &description) = 0;

    virtual void setCaption(const QString &caption) = 0;
    // Why unsaved samples are not journaled; empty while they are.
    virtual void showJournalProblem(const QString &problem) = 0;
    // "MQTT: ..." while publishing; empty when publishing is switched off.
    virtual void showPublishState(const QString &text, bool failed) = 0;
};
