#pragma once

// File helpers shared by the recording-file tests.

#include "Sample.h"
#include "SampleStore.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

inline QString fixture(const char *name)
{
    return QStringLiteral(AMPERO_TEST_DATA "/") + QLatin1String(name);
}

// A sample whose every byte, padding included, depends on k.
inline Sample patternSample(std::uint32_t k)
{
    Sample s;
    s.FirstValue = float(k % 1000) * 0.25f - 100.0f;
    s.FirstUnit = std::uint8_t(0x40 >> (k % 4));
    s.Symbols = std::uint8_t(k * 7);
    s.Padding6[0] = std::uint8_t(k);
    s.Padding6[1] = std::uint8_t(k >> 8);
    s.SecondValue = float(k % 60);
    s.SecondUnit = std::uint8_t(k * 3);
    s.Mode = std::uint8_t(k * 11);
    s.Padding14[0] = std::uint8_t(k >> 16);
    s.Padding14[1] = 0xA5;
    s.Stamp = 37414.0 + double(k) / 86400.0;
    s.Seconds = float(k) * 0.5f;
    s.Symbols2 = std::uint8_t(k * 5);
    s.Padding29[0] = 0x5A;
    s.Padding29[1] = std::uint8_t(k >> 4);
    s.Padding29[2] = 0xFF;
    return s;
}

// A recording of n pattern samples under a statistics record with stray bytes.
inline SampleStore patternStore(std::uint32_t n)
{
    SampleStore store;
    for (std::uint32_t k = 1; k <= n; ++k)
        store.AppendSample(patternSample(k));
    Sample &statistics = store.statistics();
    StatisticsRecord::setMaxIndex(statistics, float(n));
    StatisticsRecord::setMinIndex(statistics, 1);
    StatisticsRecord::setMean(statistics, 12.5f);
    statistics.Symbols = 0x77; // never written by the program, but kept
    return store;
}

inline QByteArray storeBytes(const SampleStore &store, std::int32_t count)
{
    QByteArray bytes;
    for (std::int32_t i = 0; i <= count; ++i) {
        const SampleRecordBytes record = store.Samples[std::size_t(i)].toBytes();
        bytes.append(reinterpret_cast<const char *>(record.data()), qsizetype(record.size()));
    }
    return bytes;
}

// Root passes every permission check; these tests need the checks of an
// ordinary user, so the file-access capabilities are set aside while one lives.
class WithoutFileAccessCapabilities {
public:
    WithoutFileAccessCapabilities()
    {
        if (syscall(SYS_capget, &header, saved) != 0)
            throw std::runtime_error("capget failed");
        __user_cap_data_struct reduced[2] = {saved[0], saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        if (syscall(SYS_capset, &header, reduced) != 0)
            throw std::runtime_error("capset failed");
    }
    ~WithoutFileAccessCapabilities()
    {
        // Later tests would run with the reduced rights.
        if (syscall(SYS_capset, &header, saved) != 0)
            std::abort();
    }
    WithoutFileAccessCapabilities(const WithoutFileAccessCapabilities &) = delete;
    WithoutFileAccessCapabilities &operator=(const WithoutFileAccessCapabilities &) = delete;

private:
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{};
};

// Whether a new file can be created in `folder` right now.
inline bool canCreateFileIn(const QString &folder)
{
    QFile probe(folder + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}
