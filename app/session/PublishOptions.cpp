#include "PublishOptions.h"

#include "UserNumber.h"

PublishOptionTexts StoredPublishOptions(const SettingsStore &settings)
{
    PublishOptionTexts texts;
    texts.publish = ParseUserBoolean(ReadSetting(settings, Setting::MqttPublish)).value_or(false);
    texts.brokerUrl = ReadSetting(settings, Setting::MqttBrokerUrl);
    texts.user = ReadSetting(settings, Setting::MqttUser);
    texts.passwordFile = ReadSetting(settings, Setting::MqttPasswordFile);
    texts.caFile = ReadSetting(settings, Setting::MqttCaFile);
    texts.station = ReadSetting(settings, Setting::MqttStation);
    texts.meter = ReadSetting(settings, Setting::MqttMeter);
    return texts;
}

void StorePublishOptions(const PublishOptionTexts &texts, SettingsStore &settings)
{
    WriteSetting(settings, Setting::MqttPublish, UserBooleanText(texts.publish));
    WriteSetting(settings, Setting::MqttBrokerUrl, texts.brokerUrl.trimmed());
    WriteSetting(settings, Setting::MqttUser, texts.user);
    WriteSetting(settings, Setting::MqttPasswordFile, texts.passwordFile.trimmed());
    WriteSetting(settings, Setting::MqttCaFile, texts.caFile.trimmed());
    WriteSetting(settings, Setting::MqttStation, texts.station.trimmed());
    WriteSetting(settings, Setting::MqttMeter, texts.meter.trimmed());
}
