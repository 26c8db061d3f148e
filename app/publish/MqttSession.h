#pragma once

// One client connection to the broker after another, on the publisher's own
// thread: libmosquitto driven by socket notifiers and a timer of that thread's
// event loop. Name lookups and connection set-up may take long; here they
// hold up nobody but this thread.
//
// Each connection gets a fresh client, so nothing unsent survives a lost
// connection inside the library: the publisher sends again, from the
// recording, whatever was not acknowledged.

#include "PublishSettings.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <unordered_map>

class QSocketNotifier;
struct mosquitto;

class MqttSession : public QObject {
    Q_OBJECT
public:
    static constexpr int KeepAliveSeconds = 30;
    static constexpr int ConnectTimeoutMs = 10000;
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LongestRetryMs = 30000;
    static constexpr int CloseTimeoutMs = 2000;

    explicit MqttSession(const PublishSettings &settings);
    ~MqttSession() override;

    // The first connection attempt; later ones follow by themselves.
    void open();
    // QoS 1 on ".../sample", and retained on ".../last" for the newest
    // sample; then the limit events the sample raised, QoS 1 on ".../alarm"
    // (not retained: each is an event). The sample counts as acknowledged
    // once the broker has taken all of them. Dropped unless `connection` is
    // the one that is up.
    void send(std::uint64_t connection, std::int32_t seq, const QByteArray &payload, bool newest,
              const QList<QByteArray> &alarms);
    void sendRetained(std::uint64_t connection, const QString &topic, const QByteArray &payload);
    // "offline" on the status topic, then a clean disconnect; emits closed().
    void close();

signals:
    // A connection is up; `connection` counts them from 1.
    void connected(quint64 connection);
    void acknowledged(quint64 connection, qint32 seq);
    // The connection failed or went away; the next attempt follows in retryMs.
    void lost(const QString &reason, int retryMs);
    void closed();

private:
    void attempt();
    void step();
    void afterCall(int rc);
    // Takes the reason by value: it may be failure_, which teardown() clears.
    void fail(QString reason);
    void teardown();
    QString describe(int rc) const;
    QString connectFailure(int rc) const;

    static void onConnect(mosquitto *, void *self, int rc);
    static void onDisconnect(mosquitto *, void *self, int rc);
    static void onPublish(mosquitto *, void *self, int mid);

    PublishSettings settings_;
    QByteArray statusTopic_;
    QByteArray sampleTopic_;
    QByteArray lastTopic_;
    QByteArray alarmTopic_;
    mosquitto *client_ = nullptr;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    // Children, so that they move to the session's thread with it.
    QTimer housekeeping_;
    QTimer connectTimeout_;
    QTimer retry_;
    int retryMs_ = FirstRetryMs;
    std::uint64_t connection_ = 0;
    bool up_ = false;
    bool closing_ = false;
    int closeMid_ = -1;
    bool closeAcknowledged_ = false;
    // Set by the library's callbacks, acted on once the library call returned.
    QString failure_;
    std::unordered_map<int, std::int32_t> sampleMids_;
    // Messages of a sample (itself and its alarms) the broker has not taken yet.
    std::unordered_map<std::int32_t, int> unacknowledged_;
};
