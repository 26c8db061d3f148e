#include "MqttSession.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int HousekeepingMs = 100;
// Messages on their way to the broker at once: enough to keep up with the
// meter's line rate over a slow link.
constexpr int InFlightMessages = 50;
constexpr char OnlineText[] = "online";
constexpr char OfflineText[] = "offline";

} // namespace

MqttSession::MqttSession(const PublishSettings &settings)
    : settings_(settings), statusTopic_((settings.topicBase() + QLatin1String("/status")).toUtf8()),
      sampleTopic_((settings.topicBase() + QLatin1String("/sample")).toUtf8()),
      lastTopic_((settings.topicBase() + QLatin1String("/last")).toUtf8()),
      alarmTopic_((settings.topicBase() + QLatin1String("/alarm")).toUtf8()), housekeeping_(this),
      connectTimeout_(this), retry_(this)
{
    housekeeping_.setInterval(HousekeepingMs);
    connect(&housekeeping_, &QTimer::timeout, this, &MqttSession::step);
    connectTimeout_.setSingleShot(true);
    connect(&connectTimeout_, &QTimer::timeout, this, [this] {
        fail(tr("the MQTT broker at %1 did not answer within %2 s")
                 .arg(settings_.brokerText())
                 .arg(ConnectTimeoutMs / 1000));
    });
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &MqttSession::attempt);
}

MqttSession::~MqttSession()
{
    teardown();
}

void MqttSession::open()
{
    attempt();
}

namespace {

// The library's texts end in a full stop; ours go on after them.
QString sentencePart(const char *text)
{
    QString part = QString::fromUtf8(text);
    if (part.endsWith(QLatin1Char('.')))
        part.chop(1);
    return part;
}

} // namespace

QString MqttSession::describe(int rc) const
{
    if (rc == MOSQ_ERR_EAI)
        return tr("the host name cannot be looked up");
    // For system errors the library's text is that of errno.
    return sentencePart(rc == MOSQ_ERR_ERRNO ? std::strerror(errno) : mosquitto_strerror(rc));
}

// On a fast link the TLS handshake is over within the connect call, on a slow
// one it ends in the loop: the same failure either way.
QString MqttSession::connectFailure(int rc) const
{
    if (rc == MOSQ_ERR_TLS)
        return tr("no TLS connection with the MQTT broker at %1: its certificate is not trusted or not "
                  "made out to that name, or the port does not speak TLS")
            .arg(settings_.brokerText());
    return tr("cannot reach the MQTT broker at %1: %2").arg(settings_.brokerText(), describe(rc));
}

void MqttSession::attempt()
{
    if (closing_)
        return;
    const QByteArray clientId = QStringLiteral("ampero-%1-%2").arg(settings_.station, settings_.meter).toUtf8();
    client_ = mosquitto_new(clientId.constData(), true, this);
    if (!client_) {
        fail(tr("cannot make an MQTT client: %1").arg(QString::fromUtf8(std::strerror(errno))));
        return;
    }
    mosquitto_connect_callback_set(client_, &MqttSession::onConnect);
    mosquitto_disconnect_callback_set(client_, &MqttSession::onDisconnect);
    mosquitto_publish_callback_set(client_, &MqttSession::onPublish);
    mosquitto_max_inflight_messages_set(client_, InFlightMessages);
    int rc = mosquitto_will_set(client_, statusTopic_.constData(), int(sizeof OfflineText - 1), OfflineText, 1, true);
    if (rc == MOSQ_ERR_SUCCESS && !settings_.user.isEmpty())
        rc = mosquitto_username_pw_set(client_, settings_.user.toUtf8().constData(),
                                       settings_.password.toUtf8().constData());
    if (rc == MOSQ_ERR_SUCCESS && settings_.tls) {
        if (settings_.caFile.isEmpty())
            rc = mosquitto_int_option(client_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        else
            rc = mosquitto_tls_set(client_, settings_.caFile.toLocal8Bit().constData(), nullptr, nullptr, nullptr,
                                   nullptr);
    }
    if (rc != MOSQ_ERR_SUCCESS) {
        fail(tr("cannot set up the MQTT client: %1").arg(describe(rc)));
        return;
    }
    rc = mosquitto_connect_async(client_, settings_.host.toUtf8().constData(), settings_.port, KeepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS) {
        fail(connectFailure(rc));
        return;
    }
    const int socket = mosquitto_socket(client_);
    readable_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    writable_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
    connect(readable_.get(), &QSocketNotifier::activated, this, &MqttSession::step);
    connect(writable_.get(), &QSocketNotifier::activated, this, &MqttSession::step);
    housekeeping_.start();
    connectTimeout_.start(ConnectTimeoutMs);
    afterCall(MOSQ_ERR_SUCCESS);
}

void MqttSession::step()
{
    if (client_)
        afterCall(mosquitto_loop(client_, 0, 1));
}

void MqttSession::afterCall(int rc)
{
    if (!failure_.isEmpty()) {
        fail(failure_);
        return;
    }
    if (rc != MOSQ_ERR_SUCCESS) {
        fail(up_ ? tr("lost the connection to the MQTT broker at %1: %2").arg(settings_.brokerText(), describe(rc))
                 : connectFailure(rc));
        return;
    }
    if (writable_)
        writable_->setEnabled(mosquitto_want_write(client_));
}

void MqttSession::fail(QString reason)
{
    teardown();
    if (closing_)
        return;
    emit lost(reason, retryMs_);
    retry_.start(retryMs_);
    retryMs_ = std::min(retryMs_ * 2, LongestRetryMs);
}

void MqttSession::teardown()
{
    // The notifiers go before the socket they watch.
    readable_.reset();
    writable_.reset();
    housekeeping_.stop();
    connectTimeout_.stop();
    sampleMids_.clear();
    unacknowledged_.clear();
    failure_.clear();
    up_ = false;
    if (client_) {
        mosquitto_destroy(client_);
        client_ = nullptr;
    }
}

void MqttSession::send(std::uint64_t connection, std::int32_t seq, const QByteArray &payload, bool newest,
                       const QList<QByteArray> &alarms)
{
    if (!up_ || connection != connection_)
        return;
    // Counted before the first publish: its acknowledgement may come within a later call.
    unacknowledged_[seq] += 1 + int(alarms.size());
    int mid = 0;
    int rc =
        mosquitto_publish(client_, &mid, sampleTopic_.constData(), int(payload.size()), payload.constData(), 1, false);
    if (rc == MOSQ_ERR_SUCCESS) {
        sampleMids_[mid] = seq;
        if (newest)
            rc = mosquitto_publish(client_, nullptr, lastTopic_.constData(), int(payload.size()), payload.constData(),
                                   1, true);
    }
    for (const QByteArray &alarm : alarms) {
        if (rc != MOSQ_ERR_SUCCESS)
            break;
        rc = mosquitto_publish(client_, &mid, alarmTopic_.constData(), int(alarm.size()), alarm.constData(), 1, false);
        if (rc == MOSQ_ERR_SUCCESS)
            sampleMids_[mid] = seq;
    }
    afterCall(rc);
}

void MqttSession::sendRetained(std::uint64_t connection, const QString &topic, const QByteArray &payload)
{
    if (!up_ || connection != connection_)
        return;
    afterCall(mosquitto_publish(client_, nullptr, topic.toUtf8().constData(), int(payload.size()), payload.constData(),
                                1, true));
}

void MqttSession::close()
{
    closing_ = true;
    retry_.stop();
    if (up_) {
        closeAcknowledged_ = false;
        int rc = mosquitto_publish(client_, &closeMid_, statusTopic_.constData(), int(sizeof OfflineText - 1),
                                   OfflineText, 1, true);
        // This thread has nothing else to do any more: wait here for the broker.
        QElapsedTimer waited;
        waited.start();
        while (rc == MOSQ_ERR_SUCCESS && failure_.isEmpty() && !closeAcknowledged_ && waited.elapsed() < CloseTimeoutMs)
            rc = mosquitto_loop(client_, 100, 1);
        if (rc == MOSQ_ERR_SUCCESS && failure_.isEmpty()) {
            mosquitto_disconnect(client_);
            mosquitto_loop(client_, 0, 1);
        }
    }
    teardown();
    emit closed();
}

void MqttSession::onConnect(mosquitto *, void *self, int rc)
{
    auto *session = static_cast<MqttSession *>(self);
    if (rc != 0) {
        session->failure_ = tr("the MQTT broker at %1 refused the connection: %2")
                                .arg(session->settings_.brokerText(), sentencePart(mosquitto_connack_string(rc)));
        return;
    }
    session->connectTimeout_.stop();
    session->up_ = true;
    session->retryMs_ = FirstRetryMs;
    const int published = mosquitto_publish(session->client_, nullptr, session->statusTopic_.constData(),
                                            int(sizeof OnlineText - 1), OnlineText, 1, true);
    if (published != MOSQ_ERR_SUCCESS) {
        session->failure_ = tr("lost the connection to the MQTT broker at %1: %2")
                                .arg(session->settings_.brokerText(), session->describe(published));
        return;
    }
    emit session->connected(++session->connection_);
}

void MqttSession::onDisconnect(mosquitto *, void *self, int rc)
{
    auto *session = static_cast<MqttSession *>(self);
    if (session->closing_ || !session->failure_.isEmpty())
        return;
    session->failure_ = rc == 0
                            ? tr("the MQTT broker at %1 closed the connection").arg(session->settings_.brokerText())
                            : tr("lost the connection to the MQTT broker at %1").arg(session->settings_.brokerText());
}

void MqttSession::onPublish(mosquitto *, void *self, int mid)
{
    auto *session = static_cast<MqttSession *>(self);
    if (session->closing_ && mid == session->closeMid_) {
        session->closeAcknowledged_ = true;
        return;
    }
    const auto found = session->sampleMids_.find(mid);
    if (found == session->sampleMids_.end())
        return;
    const std::int32_t seq = found->second;
    session->sampleMids_.erase(found);
    const auto pending = session->unacknowledged_.find(seq);
    if (pending != session->unacknowledged_.end() && --pending->second > 0)
        return;
    if (pending != session->unacknowledged_.end())
        session->unacknowledged_.erase(pending);
    emit session->acknowledged(session->connection_, seq);
}
