#pragma once

// A real mosquitto broker for the tests, on a free loopback port, with a
// configuration file and data folder of its own; and mosquitto_sub as the
// subscriber that watches what the program publishes.

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

struct BrokerOptions {
    // With a user and password, only that user may connect.
    QString user;
    QString password;
    // TLS only, with a certificate for 127.0.0.1 from a certificate authority of its own.
    bool tls = false;
};

class MqttBroker {
public:
    explicit MqttBroker(const BrokerOptions &options = {});
    ~MqttBroker();
    MqttBroker(const MqttBroker &) = delete;
    MqttBroker &operator=(const MqttBroker &) = delete;

    // Starts the broker and waits until it takes connections.
    bool start();
    // SIGTERM, and waits until it has ended (its retained messages saved).
    bool stop();

    std::uint16_t port() const { return port_; }
    // The certificate authority of a TLS broker.
    QString caFile() const { return dir_.filePath(QStringLiteral("ca.pem")); }
    // The certificates could be made (always true without TLS).
    bool ready() const { return ready_; }
    QString url() const;
    QString log();
    // What mosquitto_sub needs to connect.
    QStringList clientOptions() const;

private:
    QTemporaryDir dir_;
    bool tls_ = false;
    bool ready_ = true;
    std::uint16_t port_ = 0;
    QString config_;
    QProcess process_;
    QString log_;
};

// A loopback port on which nothing listens, at the moment of asking.
std::uint16_t FreeLoopbackPort();

// mosquitto_sub with a persistent session at QoS 1: what is published while it
// is away (a broker restart) is kept for it.
class TopicWatcher {
public:
    TopicWatcher(const MqttBroker &broker, const QString &topic, const QStringList &extra = {});
    ~TopicWatcher();

    // Waits until the broker confirmed the subscription.
    bool waitSubscribed(int timeoutMs);
    // Every payload received so far, in order of arrival.
    const std::vector<QByteArray> &payloads();
    // The "seq" of every sample received so far, in order of arrival.
    std::vector<std::int32_t> sequence();
    QString diagnostics();

private:
    void read();

    QProcess process_;
    QByteArray pending_;
    QString debug_;
    std::vector<QByteArray> payloads_;
};

// The JSON object of a payload; empty when it is no JSON object.
QJsonObject JsonObject(const QByteArray &payload);

// The messages of a topic as mosquitto_sub sees them within the time (retained ones included).
std::vector<QByteArray> RetainedPayloads(const MqttBroker &broker, const QString &topic, int count, int timeoutMs);
