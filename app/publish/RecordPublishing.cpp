#include "RecordPublishing.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>

#include <cmath>
#include <utility>

const char RecordPublishUsage[] = "  --mqtt URL          also publish every sample to the MQTT broker at URL\n"
                                  "                      (mqtt://host[:1883], mqtts://host[:8883] for TLS)\n"
                                  "  --mqtt-user NAME    user name at the broker\n"
                                  "  --mqtt-password-file FILE  the password, the first line of FILE\n"
                                  "  --mqtt-cafile FILE  with mqtts://: the certificate authority of the broker\n"
                                  "                      (default: the system's certificates)\n"
                                  "  --station NAME      topic level of this place (default: the host name)\n"
                                  "  --meter NAME        topic level of this meter (default: the device name)\n"
                                  "  --mqtt-backlog DURATION  when the broker was away, send again the samples of\n"
                                  "                      this time before the newest (90s, 15m, 24h, 2d; default 24h)\n"
                                  "  --ha-discovery      announce the two readings to Home Assistant\n";

bool TakeRecordPublishOption(const QString &name, const QString &value, RecordPublishOptions &options)
{
    QString *field = nullptr;
    if (name == QLatin1String("--mqtt"))
        field = &options.url;
    else if (name == QLatin1String("--mqtt-user"))
        field = &options.user;
    else if (name == QLatin1String("--mqtt-password-file"))
        field = &options.passwordFile;
    else if (name == QLatin1String("--mqtt-cafile"))
        field = &options.caFile;
    else if (name == QLatin1String("--station"))
        field = &options.station;
    else if (name == QLatin1String("--meter"))
        field = &options.meter;
    else if (name == QLatin1String("--mqtt-backlog"))
        field = &options.backlog;
    if (!field)
        return false;
    *field = value;
    return true;
}

bool TakeRecordPublishFlag(const QString &name, RecordPublishOptions &options)
{
    if (name != QLatin1String("--ha-discovery"))
        return false;
    options.homeAssistant = true;
    return true;
}

namespace {

RecordPublishSetup failed(const QString &error)
{
    RecordPublishSetup setup;
    setup.error = error;
    return setup;
}

} // namespace

RecordPublishSetup MakeRecordPublishSettings(const RecordPublishOptions &options, const QString &port)
{
    if (options.url.isEmpty()) {
        const bool other = !options.user.isEmpty() || !options.passwordFile.isEmpty() || !options.caFile.isEmpty() ||
                           !options.station.isEmpty() || !options.meter.isEmpty() || !options.backlog.isEmpty() ||
                           options.homeAssistant;
        return other ? failed(QStringLiteral("the MQTT options need --mqtt URL")) : RecordPublishSetup{};
    }
    PublishSettings settings;
    if (const std::optional<QString> error = ParseBrokerUrl(options.url, settings))
        return failed(*error);
    settings.user = options.user;
    if (!options.passwordFile.isEmpty()) {
        if (options.user.isEmpty())
            return failed(QStringLiteral("--mqtt-password-file needs --mqtt-user"));
        QFile file(options.passwordFile);
        if (!file.open(QIODevice::ReadOnly))
            return failed(
                QStringLiteral("cannot read the password file %1: %2").arg(options.passwordFile, file.errorString()));
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        settings.password = QString::fromUtf8(line);
    }
    if (!options.caFile.isEmpty()) {
        if (!settings.tls)
            return failed(QStringLiteral("--mqtt-cafile needs a broker address with mqtts://"));
        if (!QFileInfo(options.caFile).isReadable())
            return failed(QStringLiteral("cannot read the certificate file %1").arg(options.caFile));
        settings.caFile = options.caFile;
    }
    if (!options.backlog.isEmpty()) {
        const std::optional<double> seconds = ParseBacklogArgument(options.backlog);
        if (!seconds)
            return failed(
                QStringLiteral("--mqtt-backlog needs a duration like 90s, 15m, 24h or 2d: '%1'").arg(options.backlog));
        settings.backlogSeconds = *seconds;
    }
    settings.station = TopicLevel(options.station.isEmpty() ? QSysInfo::machineHostName() : options.station);
    settings.meter = TopicLevel(options.meter.isEmpty() ? QFileInfo(port).fileName() : options.meter);
    settings.homeAssistant = options.homeAssistant;
    RecordPublishSetup setup;
    setup.settings = settings;
    return setup;
}

std::optional<double> ParseSecondsArgument(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

std::optional<double> ParseBacklogArgument(const QString &text)
{
    const std::pair<char, double> units[] = {{'s', 1}, {'m', 60}, {'h', 3600}, {'d', 86400}};
    for (const auto &[suffix, seconds] : units) {
        if (text.endsWith(QLatin1Char(suffix))) {
            const std::optional<double> value = ParseSecondsArgument(text.chopped(1));
            return value ? std::optional<double>(*value * seconds) : std::nullopt;
        }
    }
    return ParseSecondsArgument(text);
}
