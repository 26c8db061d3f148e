#include "PublishOptionsBox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSysInfo>

namespace {

QLineEdit *textBox(const char *name, const QString &placeholder, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setPlaceholderText(placeholder);
    return box;
}

} // namespace

PublishOptionsBox::PublishOptionsBox(QWidget *parent)
    : QGroupBox(tr("MQTT"), parent), MqttPublish(new QCheckBox(tr("Publish to MQTT broker"), this)),
      MqttBrokerUrl(textBox("MqttBrokerUrl", tr("mqtt://host:1883 or mqtts://host:8883"), this)),
      MqttUser(textBox("MqttUser", tr("none"), this)),
      MqttPasswordFile(textBox("MqttPasswordFile", tr("the password is its first line"), this)),
      MqttCaFile(textBox("MqttCaFile", tr("with mqtts://: the system's certificates"), this)),
      MqttStation(textBox("MqttStation", QSysInfo::machineHostName(), this)),
      MqttMeter(textBox("MqttMeter", tr("the port's device name"), this))
{
    setObjectName(QStringLiteral("Mqtt"));
    MqttPublish->setObjectName(QStringLiteral("MqttPublish"));
    auto *form = new QFormLayout(this);
    form->addRow(MqttPublish);
    form->addRow(tr("Broker URL:"), MqttBrokerUrl);
    form->addRow(tr("User:"), MqttUser);
    form->addRow(tr("Password file:"), MqttPasswordFile);
    form->addRow(tr("CA file:"), MqttCaFile);
    form->addRow(tr("Station:"), MqttStation);
    form->addRow(tr("Meter:"), MqttMeter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
}

void PublishOptionsBox::showTexts(const PublishOptionTexts &texts)
{
    MqttPublish->setChecked(texts.publish);
    MqttBrokerUrl->setText(texts.brokerUrl);
    MqttUser->setText(texts.user);
    MqttPasswordFile->setText(texts.passwordFile);
    MqttCaFile->setText(texts.caFile);
    MqttStation->setText(texts.station);
    MqttMeter->setText(texts.meter);
}

PublishOptionTexts PublishOptionsBox::texts() const
{
    PublishOptionTexts texts;
    texts.publish = MqttPublish->isChecked();
    texts.brokerUrl = MqttBrokerUrl->text();
    texts.user = MqttUser->text();
    texts.passwordFile = MqttPasswordFile->text();
    texts.caFile = MqttCaFile->text();
    texts.station = MqttStation->text();
    texts.meter = MqttMeter->text();
    return texts;
}

QList<QWidget *> PublishOptionsBox::tabOrder() const
{
    return {MqttPublish, MqttBrokerUrl, MqttUser, MqttPasswordFile, MqttCaFile, MqttStation, MqttMeter};
}
