#include "PublishSettings.h"

#include <QCoreApplication>
#include <QUrl>

QString PublishSettings::topicBase() const
{
    return QStringLiteral("ampero/%1/%2").arg(station, meter);
}

QString PublishSettings::brokerText() const
{
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

std::optional<QString> ParseBrokerUrl(const QString &text, PublishSettings &settings)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return QCoreApplication::translate("PublishSettings", "'%1' is no broker address like mqtt://host:1883")
            .arg(text);
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts"))
        return QCoreApplication::translate("PublishSettings",
                                           "'%1' is no broker address: it must begin with mqtt:// or mqtts://")
            .arg(text);
    if (!url.userInfo().isEmpty())
        return QCoreApplication::translate("PublishSettings",
                                           "give the user with --mqtt-user and the password with --mqtt-password-file, "
                                           "not in the broker address");
    if (!url.path().isEmpty() && url.path() != QLatin1String("/"))
        return QCoreApplication::translate("PublishSettings", "'%1': a broker address has no path").arg(text);
    if (url.hasQuery() || url.hasFragment())
        return QCoreApplication::translate("PublishSettings", "'%1': a broker address has no query or fragment")
            .arg(text);
    settings.tls = scheme == QLatin1String("mqtts");
    const int port = url.port(settings.tls ? PublishSettings::TlsPort : PublishSettings::PlainPort);
    if (port <= 0)
        return QCoreApplication::translate("PublishSettings", "'%1': the port must be 1 to 65535").arg(text);
    settings.host = url.host();
    settings.port = std::uint16_t(port);
    return std::nullopt;
}

QString TopicLevel(const QString &name)
{
    QString level;
    level.reserve(name.size());
    for (const QChar c : name) {
        const bool kept =
            (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('_');
        level += kept ? c : QLatin1Char('_');
    }
    return level.isEmpty() ? QStringLiteral("_") : level;
}
