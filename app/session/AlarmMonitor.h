#pragma once

// The limit alarms while the window records: each new sample is checked
// against the limits from Options, and what is in alarm is kept for the
// window to show (the display's value in the alarm colour, a line in the
// status bar). START arms every limit again; a change of the limits in
// Options while recording does so too. Nothing here waits or asks: the
// receive cycle goes on whatever an alarm does.

#include "LimitAlarm.h"
#include "ProgramState.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class AlarmMonitor : public QObject {
    Q_OBJECT
public:
    explicit AlarmMonitor(QObject *parent = nullptr);

    // START: checks the samples from now on against these limits, all armed.
    void start(const AlarmSettings &settings);
    // Options was closed with OK: new limits are armed again at once; the
    // same limits change nothing, and while stopped only the sound is taken.
    void apply(const AlarmSettings &settings);
    // STOP: no display is in alarm any more and the status line is empty.
    void stop();

    // The events the sample at `index` raises, in LimitAlarm's order; none while stopped.
    std::vector<LimitEvent> sampleAppended(const Sample &sample, std::int32_t index);

    bool running() const { return alarm_.has_value(); }
    // A limit of the display is crossed and not yet back past it.
    bool inAlarm(AlarmDisplay display) const;
    // "Alarm: ..." for the latest event, or the text of its clearing; empty
    // before the first event after START.
    QString statusText() const { return statusText_; }

signals:
    // What inAlarm() or statusText() says has changed.
    void changed();
    // An alarm was raised and the sound is switched on.
    void soundRequested();

private:
    void reset();

    AlarmSettings settings_;
    std::optional<LimitAlarm> alarm_;
    // Per display: the high and the low limit crossed.
    bool firstHigh_ = false, firstLow_ = false, secondHigh_ = false, secondLow_ = false;
    QString statusText_;
};

// The status-bar line of an event, in the user's language and number format:
// "Alarm: first display above high limit 505 A: 509.9 A" or
// "Alarm cleared: first display back below high limit 505 A: 0 A".
QString AlarmStatusText(const LimitEvent &event);
