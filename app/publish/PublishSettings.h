#pragma once

// Where and how samples are reported to an MQTT broker: the broker's address
// and credentials, and the names that make up the topics.

#include <QString>

#include <cstdint>
#include <optional>

struct PublishSettings {
    static constexpr std::uint16_t PlainPort = 1883;
    static constexpr std::uint16_t TlsPort = 8883;
    static constexpr double DefaultBacklogSeconds = 24 * 3600;

    QString host;
    std::uint16_t port = PlainPort;
    bool tls = false;
    QString user; // empty: no user name
    QString password;
    QString caFile;  // empty with TLS: the system's certificates
    QString station; // topic level, see TopicLevel
    QString meter;   // topic level, see TopicLevel
    bool homeAssistant = false;
    // Samples older than this (by their time stamps, counted back from the
    // newest) are not sent again after the broker was away.
    double backlogSeconds = DefaultBacklogSeconds;

    // "ampero/<station>/<meter>"
    QString topicBase() const;
    // "host:port", for messages
    QString brokerText() const;
};

// Takes "mqtt://host[:port]" or "mqtts://host[:port]" into the settings;
// returns why it cannot, or nothing. Credentials have options of their own:
// a password in the address would be seen by everyone who lists processes.
std::optional<QString> ParseBrokerUrl(const QString &url, PublishSettings &settings);

// A name as one topic level: characters other than letters, digits, '-' and
// '_' become '_' (this keeps '/', '+', '#' and '$' out, which would split the
// level or make it a wildcard or a broker topic); an empty name becomes "_".
QString TopicLevel(const QString &name);
