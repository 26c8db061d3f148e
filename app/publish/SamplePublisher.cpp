#include "SamplePublisher.h"

#include "MqttSession.h"
#include "SampleJson.h"
#include "SampleStore.h"
#include "SampleTexts.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <mosquitto.h>

#include <algorithm>
#include <mutex>

namespace {

constexpr double SecondsPerDay = 86400;
// How long the network thread may take to finish once asked to close.
constexpr int ThreadEndMs = 5000;

} // namespace

SamplePublisher::SamplePublisher(QObject *parent) : QObject(parent)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { mosquitto_lib_init(); });
}

SamplePublisher::~SamplePublisher()
{
    stop(0);
}

void SamplePublisher::configure(const PublishSettings &settings, const SampleStore &store)
{
    if (state_ != PublisherState::Stopped)
        return;
    settings_ = settings;
    store_ = &store;
}

void SamplePublisher::setState(PublisherState state, const QString &text)
{
    if (state == state_ && text == stateText_)
        return;
    state_ = state;
    stateText_ = text;
    emit stateChanged(state, text);
}

void SamplePublisher::start()
{
    if (!store_ || state_ != PublisherState::Stopped)
        return;
    confirmed_ = store_->SampleCount;
    ready_ = confirmed_;
    next_ = confirmed_ + 1;
    outstanding_.clear();
    alarms_.clear();
    connected_ = false;
    connection_ = 0;

    thread_ = new QThread;
    session_ = new MqttSession(settings_);
    session_->moveToThread(thread_);
    connect(thread_, &QThread::finished, session_, &QObject::deleteLater);
    connect(session_, &MqttSession::connected, this, &SamplePublisher::onConnected);
    connect(session_, &MqttSession::acknowledged, this, &SamplePublisher::onAcknowledged);
    connect(session_, &MqttSession::lost, this, &SamplePublisher::onLost);
    thread_->start();
    setState(PublisherState::Connecting, tr("connecting to the MQTT broker at %1").arg(settings_.brokerText()));
    QMetaObject::invokeMethod(session_, &MqttSession::open, Qt::QueuedConnection);
}

void SamplePublisher::publish(std::int32_t index)
{
    if (state_ == PublisherState::Stopped)
        return;
    ready_ = std::max(ready_, std::min(index, store_->SampleCount));
    pump();
}

void SamplePublisher::publishAlarm(const LimitEvent &event)
{
    if (state_ == PublisherState::Stopped || event.index <= confirmed_)
        return;
    alarms_.emplace(event.index, AlarmJson(event));
}

void SamplePublisher::dropAlarmsBefore(std::int32_t index)
{
    alarms_.erase(alarms_.begin(), alarms_.lower_bound(index));
}

void SamplePublisher::stop(int drainMs)
{
    if (state_ == PublisherState::Stopped)
        return;
    if (drainMs > 0 && connected_ && confirmed_ < ready_) {
        QEventLoop waiting;
        QTimer deadline;
        deadline.setSingleShot(true);
        connect(&deadline, &QTimer::timeout, &waiting, &QEventLoop::quit);
        const QMetaObject::Connection done = connect(session_, &MqttSession::acknowledged, &waiting, [&] {
            if (confirmed_ >= ready_)
                waiting.quit();
        });
        const QMetaObject::Connection gone = connect(session_, &MqttSession::lost, &waiting, &QEventLoop::quit);
        deadline.start(drainMs);
        waiting.exec();
        disconnect(done);
        disconnect(gone);
    }
    disconnect(session_, nullptr, this, nullptr);
    QEventLoop closing;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &closing, &QEventLoop::quit);
    connect(session_, &MqttSession::closed, &closing, &QEventLoop::quit);
    QMetaObject::invokeMethod(session_, &MqttSession::close, Qt::QueuedConnection);
    deadline.start(ThreadEndMs);
    closing.exec();
    thread_->quit();
    if (thread_->wait(ThreadEndMs))
        delete thread_;
    // else the thread is stuck in a name lookup or a connect: it is left to
    // end with the process rather than holding up the caller any longer.
    thread_ = nullptr;
    session_ = nullptr;
    connected_ = false;
    setState(PublisherState::Stopped, tr("stopped publishing to the MQTT broker at %1").arg(settings_.brokerText()));
}

std::int32_t SamplePublisher::backlogStart() const
{
    const std::int32_t newest = ready_;
    std::int32_t first = confirmed_ + 1;
    if (first > newest)
        return first;
    const double oldest = store_->sample(newest).Stamp - settings_.backlogSeconds / SecondsPerDay;
    std::int32_t i = newest;
    while (i > first && store_->sample(i - 1).Stamp >= oldest)
        --i;
    return i;
}

void SamplePublisher::onConnected(quint64 connection)
{
    connection_ = connection;
    connected_ = true;
    outstanding_.clear();
    announcedUnits_.clear();
    const std::int32_t missedFrom = confirmed_ + 1;
    next_ = backlogStart();
    const std::int32_t tooOld = next_ - missedFrom;
    const std::int32_t toSend = ready_ - next_ + 1;
    confirmed_ = next_ - 1;
    dropAlarmsBefore(next_);
    QString text = tr("publishing to the MQTT broker at %1 as %2").arg(settings_.brokerText(), settings_.topicBase());
    if (toSend > 0)
        text += tr("; sending the %1 samples it has not had yet").arg(toSend);
    if (tooOld > 0)
        text += tr(" (%1 older samples lie beyond the backlog and are left out)").arg(tooOld);
    setState(PublisherState::Connected, text);
    pump();
}

void SamplePublisher::onAcknowledged(quint64 connection, qint32 seq)
{
    if (!connected_ || connection != connection_)
        return;
    outstanding_.erase(seq);
    confirmed_ = outstanding_.empty() ? next_ - 1 : *outstanding_.begin() - 1;
    dropAlarmsBefore(confirmed_ + 1);
    pump();
}

void SamplePublisher::onLost(const QString &reason, int retryMs)
{
    connected_ = false;
    outstanding_.clear();
    next_ = confirmed_ + 1;
    setState(PublisherState::Disconnected,
             tr("%1; trying again in %2 s; recording goes on").arg(reason).arg(retryMs / 1000));
}

void SamplePublisher::announceUnits(std::int32_t index)
{
    const Sample &sample = store_->sample(index);
    const std::string units = FirstUnitName(sample.FirstUnit) + '\n' + SecondUnitName(sample.SecondUnit);
    if (units == announcedUnits_)
        return;
    announcedUnits_ = units;
    for (const RetainedMessage &config : HomeAssistantConfigs(settings_, sample)) {
        QMetaObject::invokeMethod(
            session_,
            [session = session_, connection = connection_, config] {
                session->sendRetained(connection, config.topic, config.payload);
            },
            Qt::QueuedConnection);
    }
}

void SamplePublisher::pump()
{
    if (!connected_)
        return;
    const std::int32_t newest = ready_;
    while (next_ <= newest && outstanding_.size() < std::size_t(SendWindow)) {
        const std::int32_t seq = next_++;
        const bool isNewest = seq == newest;
        if (isNewest && settings_.homeAssistant)
            announceUnits(seq);
        QList<QByteArray> alarms;
        const auto [from, to] = alarms_.equal_range(seq);
        for (auto alarm = from; alarm != to; ++alarm)
            alarms.append(alarm->second);
        QMetaObject::invokeMethod(
            session_,
            [session = session_, connection = connection_, seq, payload = SampleJson(seq, store_->sample(seq)),
             isNewest, alarms] { session->send(connection, seq, payload, isNewest, alarms); },
            Qt::QueuedConnection);
        outstanding_.insert(seq);
    }
}
