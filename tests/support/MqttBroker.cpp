#include "MqttBroker.h"

#include "Wait.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool connectable(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

QStringList lines(QByteArray &pending, const QByteArray &arrived)
{
    pending += arrived;
    QStringList complete;
    int end;
    while ((end = pending.indexOf('\n')) >= 0) {
        complete << QString::fromUtf8(pending.left(end));
        pending.remove(0, end + 1);
    }
    return complete;
}

int watcherCount = 0;

} // namespace

std::uint16_t FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

namespace {

bool run(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A certificate authority and a server certificate signed by it for 127.0.0.1.
bool makeCertificates(const QString &folder)
{
    const QString openssl = QStringLiteral("openssl");
    QFile extensions(QDir(folder).filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly) || extensions.write("subjectAltName=IP:127.0.0.1\n") < 0)
        return false;
    extensions.close();
    const bool made = run(openssl,
                          {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
                           "-days", "2", "-subj", "/CN=Ampero test authority"},
                          folder) &&
                      run(openssl,
                          {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
                           "-subj", "/CN=127.0.0.1"},
                          folder) &&
                      run(openssl,
                          {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                           "-out", "server.pem", "-days", "2", "-extfile", "server.ext"},
                          folder);
    // The broker reads its key after it gave up root.
    return made && QFile::setPermissions(QDir(folder).filePath(QStringLiteral("server.key")),
                                         QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
}

} // namespace

MqttBroker::MqttBroker(const BrokerOptions &options) : tls_(options.tls)
{
    port_ = FreeLoopbackPort();
    // Started as root the broker goes on as an unprivileged user (mosquitto,
    // or nobody where there is none), which must reach and write its folder.
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const QString data = dir_.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                                    QFile::ExeOther);
    QStringList config = {
        QStringLiteral("listener %1 127.0.0.1").arg(port_),
        QStringLiteral("persistence true"),
        QStringLiteral("persistence_location %1/").arg(data),
        // A subscriber that falls behind during a catch-up loses nothing.
        QStringLiteral("max_queued_messages 0"),
    };
    if (options.tls) {
        ready_ = makeCertificates(dir_.path());
        config << QStringLiteral("cafile %1").arg(caFile())
               << QStringLiteral("certfile %1").arg(dir_.filePath(QStringLiteral("server.pem")))
               << QStringLiteral("keyfile %1").arg(dir_.filePath(QStringLiteral("server.key")));
    }
    if (options.user.isEmpty()) {
        config << QStringLiteral("allow_anonymous true");
    } else {
        const QString passwords = dir_.filePath(QStringLiteral("passwords"));
        QProcess::execute(QStringLiteral("mosquitto_passwd"),
                          {QStringLiteral("-c"), QStringLiteral("-b"), passwords, options.user, options.password});
        QFile::setPermissions(passwords, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        config << QStringLiteral("allow_anonymous false") << QStringLiteral("password_file %1").arg(passwords);
    }
    config_ = dir_.filePath(QStringLiteral("mosquitto.conf"));
    QFile file(config_);
    if (file.open(QIODevice::WriteOnly))
        file.write((config.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

MqttBroker::~MqttBroker()
{
    stop();
}

QString MqttBroker::url() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(tls_ ? QLatin1String("mqtts") : QLatin1String("mqtt")).arg(port_);
}

QStringList MqttBroker::clientOptions() const
{
    return tls_ ? QStringList{QStringLiteral("--cafile"), caFile()} : QStringList{};
}

QString MqttBroker::log()
{
    log_ += QString::fromUtf8(process_.readAll());
    return log_;
}

bool MqttBroker::start()
{
    if (port_ == 0 || !dir_.isValid() || !ready_)
        return false;
    process_.start(QStringLiteral("mosquitto"), {QStringLiteral("-c"), config_});
    if (!process_.waitForStarted(10000))
        return false;
    return WaitUntil([&] { return process_.state() != QProcess::Running || connectable(port_); }, 20000) &&
           process_.state() == QProcess::Running;
}

bool MqttBroker::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return true;
    ::kill(pid_t(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(20000)) {
        process_.kill();
        process_.waitForFinished(5000);
        return false;
    }
    log();
    return true;
}

TopicWatcher::TopicWatcher(const MqttBroker &broker, const QString &topic, const QStringList &extra)
{
    const QString id = QStringLiteral("watcher-%1-%2").arg(::getpid()).arg(++watcherCount);
    // Line-buffered: mosquitto_sub writes into a pipe in blocks, and its
    // SUBACK line would only come with the first message.
    process_.start(QStringLiteral("stdbuf"),
                   QStringList{QStringLiteral("-oL"), QStringLiteral("mosquitto_sub"), QStringLiteral("-h"),
                               QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(broker.port()),
                               QStringLiteral("-t"), topic, QStringLiteral("-q"), QStringLiteral("1"),
                               QStringLiteral("-c"), QStringLiteral("-i"), id, QStringLiteral("-d")} +
                       broker.clientOptions() + extra);
    process_.waitForStarted(10000);
}

TopicWatcher::~TopicWatcher()
{
    process_.kill();
    process_.waitForFinished(5000);
}

void TopicWatcher::read()
{
    for (const QString &line : lines(pending_, process_.readAllStandardOutput())) {
        if (line.startsWith(QLatin1String("Client ")) || line.startsWith(QLatin1String("Subscribed (")))
            debug_ += line + QLatin1Char('\n');
        else
            payloads_.push_back(line.toUtf8());
    }
    debug_ += QString::fromUtf8(process_.readAllStandardError());
}

bool TopicWatcher::waitSubscribed(int timeoutMs)
{
    return WaitUntil(
        [&] {
            read();
            return debug_.contains(QLatin1String("received SUBACK"));
        },
        timeoutMs);
}

const std::vector<QByteArray> &TopicWatcher::payloads()
{
    read();
    return payloads_;
}

std::vector<std::int32_t> TopicWatcher::sequence()
{
    std::vector<std::int32_t> seqs;
    for (const QByteArray &payload : payloads())
        seqs.push_back(JsonObject(payload).value(QStringLiteral("seq")).toInt(-1));
    return seqs;
}

QString TopicWatcher::diagnostics()
{
    read();
    return debug_.right(2000);
}

QJsonObject JsonObject(const QByteArray &payload)
{
    return QJsonDocument::fromJson(payload).object();
}

std::vector<QByteArray> RetainedPayloads(const MqttBroker &broker, const QString &topic, int count, int timeoutMs)
{
    QProcess sub;
    sub.start(QStringLiteral("mosquitto_sub"),
              QStringList{QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                          QString::number(broker.port()), QStringLiteral("-t"), topic, QStringLiteral("-C"),
                          QString::number(count), QStringLiteral("-W"), QString::number((timeoutMs + 999) / 1000)} +
                  broker.clientOptions());
    std::vector<QByteArray> payloads;
    if (!sub.waitForFinished(timeoutMs + 5000))
        return payloads;
    QByteArray pending;
    for (const QString &line : lines(pending, sub.readAllStandardOutput()))
        payloads.push_back(line.toUtf8());
    return payloads;
}
