#pragma once

// Reports the samples of a recording to an MQTT broker while it is being
// recorded, without ever holding up the recording: the network is handled on a
// thread of its own, and the samples are read from the store, which stays the
// record of truth. Every sample is published once on ".../sample" (QoS 1), the
// newest also retained on ".../last"; ".../status" is a retained "online",
// with "offline" as last will and at the end. A limit event goes on
// ".../alarm" (QoS 1) right after the sample that raised it. When the broker
// was away, the samples it missed are sent again in order after the next
// connection, as far back as the backlog reaches, each with its events.
// Consumers that must see every sample or event once take them by "seq"
// (and, for events, display and kind): after a lost connection a message may
// arrive twice.
//
// All calls on the thread that owns the store.

#include "LimitAlarm.h"
#include "PublishSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

class MqttSession;
class QThread;
struct SampleStore;

enum class PublisherState {
    Stopped,
    Connecting,
    Connected,
    Disconnected, // waiting before the next attempt
};

class SamplePublisher : public QObject {
    Q_OBJECT
public:
    // Samples handed to the network thread and not yet acknowledged, at most.
    static constexpr int SendWindow = 200;
    static constexpr int DefaultDrainMs = 3000;

    explicit SamplePublisher(QObject *parent = nullptr);
    ~SamplePublisher() override;

    // The broker and the names, and the recording whose samples are published.
    // The store must outlive the publisher. Only while stopped.
    void configure(const PublishSettings &settings, const SampleStore &store);
    // Connects; the samples appended from now on are published.
    void start();
    // Samples up to `index` are in the store and may go out; called after
    // each append with the new sample's index.
    void publish(std::int32_t index);
    // A limit event of the sample at event.index; given before publish() of
    // that sample, it goes out with it (and again with it after an outage).
    void publishAlarm(const LimitEvent &event);
    // Gives the samples still on their way up to `drainMs` to be acknowledged,
    // then says "offline" and disconnects. A new recording (New) is published
    // after stop() and start().
    void stop(int drainMs = DefaultDrainMs);

    PublisherState state() const { return state_; }
    QString stateText() const { return stateText_; }
    // Every sample up to this index was acknowledged by the broker (or lay
    // beyond the backlog when the broker came back).
    std::int32_t confirmed() const { return confirmed_; }

signals:
    void stateChanged(PublisherState state, const QString &text);

private:
    void setState(PublisherState state, const QString &text);
    void onConnected(quint64 connection);
    void onAcknowledged(quint64 connection, qint32 seq);
    void onLost(const QString &reason, int retryMs);
    void pump();
    void announceUnits(std::int32_t index);
    std::int32_t backlogStart() const;
    // Forgets the events of samples before `index`.
    void dropAlarmsBefore(std::int32_t index);

    PublishSettings settings_;
    const SampleStore *store_ = nullptr;
    QThread *thread_ = nullptr;
    MqttSession *session_ = nullptr;
    PublisherState state_ = PublisherState::Stopped;
    QString stateText_;
    std::uint64_t connection_ = 0;
    bool connected_ = false;
    std::int32_t confirmed_ = 0; // acknowledged without a gap up to here
    std::int32_t ready_ = 0;     // the newest sample handed to publish()
    std::int32_t next_ = 1;      // next sample to hand over
    std::set<std::int32_t> outstanding_;
    // The events of samples not yet acknowledged, by sample index, in order.
    std::multimap<std::int32_t, QByteArray> alarms_;
    std::string announcedUnits_;
};
