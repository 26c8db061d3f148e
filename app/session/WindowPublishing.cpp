#include "WindowPublishing.h"

#include "PublishOptions.h"
#include "RecordPublishing.h"

WindowPublishing::WindowPublishing(const SettingsStore &settings, const SampleStore &store, QObject *parent)
    : QObject(parent), settings_(settings), store_(store)
{
    connect(&publisher_, &SamplePublisher::stateChanged, this, [this](PublisherState state, const QString &text) {
        show(QStringLiteral("MQTT: %1").arg(text), state == PublisherState::Disconnected);
    });
}

void WindowPublishing::start(const QString &device)
{
    stop();
    const PublishOptionTexts texts = StoredPublishOptions(settings_);
    if (!texts.publish) {
        show(QString(), false);
        return;
    }
    RecordPublishOptions options;
    options.url = texts.brokerUrl;
    options.user = texts.user;
    options.passwordFile = texts.passwordFile;
    options.caFile = texts.caFile;
    options.station = texts.station;
    options.meter = texts.meter;
    if (options.url.isEmpty()) {
        show(tr("MQTT: no broker URL in Options; not publishing"), true);
        return;
    }
    const RecordPublishSetup setup = MakeRecordPublishSettings(options, device);
    if (setup.error) {
        show(tr("MQTT: %1; not publishing").arg(*setup.error), true);
        return;
    }
    publisher_.configure(*setup.settings, store_);
    publisher_.start();
}

void WindowPublishing::alarm(const LimitEvent &event)
{
    if (publishing())
        publisher_.publishAlarm(event);
}

void WindowPublishing::sampleAppended(std::int32_t index)
{
    if (publishing())
        publisher_.publish(index);
}

void WindowPublishing::recordingReplaced()
{
    if (!publishing())
        return;
    publisher_.stop();
    publisher_.start();
}

void WindowPublishing::stop()
{
    if (!publishing())
        return;
    publisher_.stop();
}

void WindowPublishing::show(const QString &text, bool failed)
{
    stateText_ = text;
    failed_ = failed;
    emit stateTextChanged(text);
}
