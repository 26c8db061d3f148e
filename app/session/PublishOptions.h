#pragma once

// The MQTT section of the Options dialog without the dialog: what it shows,
// read from the settings store, and what OK stores. The window reads the same
// keys at START (see WindowPublishing).

#include "SettingsStore.h"

#include <QString>

struct PublishOptionTexts {
    bool publish = false;
    QString brokerUrl;
    QString user;
    QString passwordFile;
    QString caFile;
    QString station; // empty: the host name
    QString meter;   // empty: the port's device name
};

PublishOptionTexts StoredPublishOptions(const SettingsStore &settings);
// Stores the texts as typed; they are checked when publishing starts.
void StorePublishOptions(const PublishOptionTexts &texts, SettingsStore &settings);
