#include "PortSettings.h"

#include "SerialLink.h"

QString PortDevicePath(const SettingsStore &settings, int portNumber)
{
    const QString key = QStringLiteral("COM%1").arg(portNumber);
    const QString fallback = QStringLiteral("/dev/ttyUSB%1").arg(portNumber - 1);
    const QString stored = settings.GetSetting(QLatin1String(Setting::ComPort.section), key, QString()).trimmed();
    return stored.isEmpty() ? fallback : stored;
}

std::array<bool, PortCount> ProbePorts(const SettingsStore &settings)
{
    std::array<bool, PortCount> exists{};
    for (int n = 1; n <= PortCount; ++n)
        exists[std::size_t(n - 1)] = DeviceExists(PortDevicePath(settings, n));
    return exists;
}
