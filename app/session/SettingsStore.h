#pragma once

// The user's persisted choices: text values addressed by application, section
// and key, kept in an INI file at the platform's per-user location
// (~/.config/RQ4417/RQ4417.conf on Linux).

#include <QString>

#include <memory>

class QSettings;

class SettingsStore {
public:
    static constexpr const char *Application = "RQ4417";

    // The per-user store of the application.
    SettingsStore();
    // A store in the given INI file (tests, tools).
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // The stored text, or the default when the key is missing.
    QString GetSetting(const QString &section, const QString &key, const QString &defaultText) const;
    void SaveSetting(const QString &section, const QString &key, const QString &value);
    bool contains(const QString &section, const QString &key) const;

    // Writes pending changes to disk.
    void sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

// Every persisted setting, with its default text, in one place.
namespace Setting {
struct Key {
    const char *section;
    const char *key;
    const char *defaultText;
};
constexpr Key ComPort{"ComPort", "ComPort", "1"};
constexpr Key FirstTopY{"FirstTrend", "TopY", "100"};
constexpr Key FirstBottomY{"FirstTrend", "BottomY", "-100"};
constexpr Key FirstRightX{"FirstTrend", "RightX", "100"};
constexpr Key SecondTopY{"SecondTrend", "TopY", "100"};
constexpr Key SecondBottomY{"SecondTrend", "BottomY", "-100"};
constexpr Key InterValue{"FirstTrend", "InterValue", "0"};
constexpr Key FirstLineColor{"FirstTrend", "LineColor", "65280"};
constexpr Key SecondLineColor{"SecondTrend", "LineColor", "16776960"};
constexpr Key FirstBkColor{"FirstTrend", "BkColor", "4210752"};
constexpr Key SecondBkColor{"SecondTrend", "BkColor", "4210752"};
constexpr Key TimeMode{"TimeMode", "TimeMode", "True"};
constexpr Key FirstGridCols{"FirstTrend", "GridCols", "15"};
constexpr Key FirstGridRows{"FirstTrend", "GridRows", "20"};
constexpr Key SecondGridCols{"SecondTrend", "GridCols", "10"};
constexpr Key SecondGridRows{"SecondTrend", "GridRows", "8"};
constexpr Key FirstGridColor{"FirstTrend", "GridColor", "0"};
constexpr Key SecondGridColor{"SecondTrend", "GridColor", "0"};
constexpr Key AutoInterval{"AllTrend", "AutoInterval", "True"};
constexpr Key LineWidth{"LineWidth", "LineWidth", "1"};
// Options "Discard damaged frames": frames damaged on the line are dropped.
constexpr Key DiscardDamagedFrames{"Acquisition", "DiscardDamagedFrames", "True"};
// Where the main window was last closed, in device-independent pixels: its
// area without the window manager's frame, and whether it was maximized.
// With no position and size stored the window opens at a size that fits the
// screen (WindowPlacement.h).
constexpr Key WindowLeft{"MainWindow", "Left", ""};
constexpr Key WindowTop{"MainWindow", "Top", ""};
constexpr Key WindowWidth{"MainWindow", "Width", ""};
constexpr Key WindowHeight{"MainWindow", "Height", ""};
constexpr Key WindowMaximized{"MainWindow", "Maximized", "False"};
// Publishing to an MQTT broker while recording; an empty station or meter
// stands for the host name and the port's device name.
constexpr Key MqttPublish{"Mqtt", "Publish", "False"};
constexpr Key MqttBrokerUrl{"Mqtt", "BrokerUrl", ""};
constexpr Key MqttUser{"Mqtt", "User", ""};
constexpr Key MqttPasswordFile{"Mqtt", "PasswordFile", ""};
constexpr Key MqttCaFile{"Mqtt", "CaFile", ""};
constexpr Key MqttStation{"Mqtt", "Station", ""};
constexpr Key MqttMeter{"Mqtt", "Meter", ""};
// Limit alarms of the two displays: an empty limit is none. The hysteresis is
// absolute, in the display's unit; Sound beeps when an alarm is raised.
constexpr Key AlarmHigh1{"Alarms", "High1", ""};
constexpr Key AlarmLow1{"Alarms", "Low1", ""};
constexpr Key AlarmHigh2{"Alarms", "High2", ""};
constexpr Key AlarmLow2{"Alarms", "Low2", ""};
constexpr Key AlarmHysteresis{"Alarms", "Hysteresis", "0"};
constexpr Key AlarmSound{"Alarms", "Sound", "False"};
} // namespace Setting

QString ReadSetting(const SettingsStore &store, const Setting::Key &key);
void WriteSetting(SettingsStore &store, const Setting::Key &key, const QString &value);
