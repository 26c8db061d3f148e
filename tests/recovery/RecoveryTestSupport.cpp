#include "RecoveryTestSupport.h"

#include "TestFiles.h"
#include "TrendView.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <stdexcept>

SampleStore AcquiredStore(std::int32_t n)
{
    SampleStore store;
    for (std::int32_t k = 1; k <= n; ++k) {
        Sample s;
        // Ups and downs with repeated values, so the first of equal extremes counts.
        s.FirstValue = float((k * 37) % 101) * 0.25f - 5.0f;
        s.FirstUnit = 0x08; // A
        s.Symbols = 0x40;
        s.SecondValue = 230.0f + float(k % 7) * 0.1f;
        s.SecondUnit = 0x02;
        s.Mode = 0x01;
        s.Stamp = 46000.5 + double(k) * 0.5 / 86400.0;
        s.Seconds = float(k) * 0.5f;
        s.Symbols2 = s.Symbols;
        store.AppendSample(s);
        UpdateStatisticsRecord(store);
    }
    return store;
}

void WriteRecords(const QString &path, const SampleStore &store, std::int32_t count)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("cannot make the folder of " + path.toStdString());
    writeBytes(path, storeBytes(store, count));
}

void ChildReport::take(QProcess &process)
{
    pending += process.readAllStandardOutput();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        if (line.startsWith("Q ")) {
            questions << QString::fromUtf8(line.mid(2));
        } else if (line.startsWith("S ")) {
            const QList<QByteArray> parts = line.split(' ');
            const QByteArray bytes = QByteArray::fromHex(parts.value(2));
            if (parts.size() == 3 && bytes.size() == qsizetype(SampleRecordSize))
                records[parts[1].toInt()] =
                    Sample::fromBytes(reinterpret_cast<const std::uint8_t *>(bytes.constData()));
            else
                ADD_FAILURE() << "garbled line: " << line.constData();
        } else {
            other << QString::fromUtf8(line);
        }
    }
}
