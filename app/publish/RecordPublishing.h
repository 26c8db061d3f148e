#pragma once

// The MQTT options of `amperotool record`, and of the window's Options, turned
// into the publisher's settings.

#include "PublishSettings.h"

#include <QString>

#include <optional>

struct RecordPublishOptions {
    QString url;
    QString user;
    QString passwordFile;
    QString caFile;
    QString station;
    QString meter;
    QString backlog;
    bool homeAssistant = false;
};

// The lines of the usage text that describe the options.
extern const char RecordPublishUsage[];

// Takes the option if it is one of them; false for any other name.
bool TakeRecordPublishOption(const QString &name, const QString &value, RecordPublishOptions &options);
// Flags without a value: --ha-discovery.
bool TakeRecordPublishFlag(const QString &name, RecordPublishOptions &options);

// The settings for the publisher, with the station named after this machine
// and the meter after the port's device unless given; nothing when no broker
// was given. Fails with a text for the user when an option is wrong or the
// password file cannot be read.
struct RecordPublishSetup {
    std::optional<PublishSettings> settings;
    std::optional<QString> error;
};
RecordPublishSetup MakeRecordPublishSettings(const RecordPublishOptions &options, const QString &port);

// A number of seconds on the command line, in the C locale: finite and not
// negative; nothing for anything else ("abc", "nan", "inf", "-1").
std::optional<double> ParseSecondsArgument(const QString &text);

// "90", "90s", "15m", "24h" or "2d": seconds, 0 or more, as --interval takes them, with a unit.
std::optional<double> ParseBacklogArgument(const QString &text);
