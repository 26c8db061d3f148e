#pragma once

// The "MQTT" section of the Options dialog: the on/off switch, the broker,
// the credentials and the names that make up the topics.

#include "PublishOptions.h"

#include <QGroupBox>

class QCheckBox;
class QLineEdit;

class PublishOptionsBox : public QGroupBox {
    Q_OBJECT
public:
    explicit PublishOptionsBox(QWidget *parent = nullptr);

    void showTexts(const PublishOptionTexts &texts);
    PublishOptionTexts texts() const;
    // The controls in the order Tab visits them.
    QList<QWidget *> tabOrder() const;

private:
    QCheckBox *MqttPublish;
    QLineEdit *MqttBrokerUrl;
    QLineEdit *MqttUser;
    QLineEdit *MqttPasswordFile;
    QLineEdit *MqttCaFile;
    QLineEdit *MqttStation;
    QLineEdit *MqttMeter;
};
