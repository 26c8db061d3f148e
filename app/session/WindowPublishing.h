#pragma once

// The main window's publishing to an MQTT broker: switched on in Options, it
// starts with START, publishes every sample the receive cycle appends, begins
// again with a recording that New started while recording, and ends with
// STOP. The settings are read at START. Only ever hands sample indices and
// limit events to the publisher, which does the network on a thread of its own.

#include "SamplePublisher.h"

#include <QObject>
#include <QString>

#include <cstdint>

class SettingsStore;
struct SampleStore;

class WindowPublishing : public QObject {
    Q_OBJECT
public:
    WindowPublishing(const SettingsStore &settings, const SampleStore &store, QObject *parent = nullptr);

    // START on `device`: publishes from now on when Options says so. A wrong
    // setting is reported through stateText and the recording goes on.
    void start(const QString &device);
    // A limit event of the newest sample, given before sampleAppended() of that sample.
    void alarm(const LimitEvent &event);
    // A sample was appended with this index.
    void sampleAppended(std::int32_t index);
    // New emptied the store while recording: the new recording is published from its start.
    void recordingReplaced();
    void stop();

    bool publishing() const { return publisher_.state() != PublisherState::Stopped; }
    // "MQTT: ..." for the status bar; empty when publishing is switched off.
    QString stateText() const { return stateText_; }
    bool failed() const { return failed_; }
    const SamplePublisher &publisher() const { return publisher_; }

signals:
    void stateTextChanged(const QString &text);

private:
    void show(const QString &text, bool failed);

    const SettingsStore &settings_;
    const SampleStore &store_;
    SamplePublisher publisher_;
    QString stateText_;
    bool failed_ = false;
};
