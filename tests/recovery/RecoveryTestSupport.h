#pragma once

// Recordings and files shared by the recovery tests.

#include "SampleStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>

class QProcess;

// A recording as acquisition builds it: n samples of the first display in A,
// half a second apart, with the statistics record updated after each one.
SampleStore AcquiredStore(std::int32_t n);

// Writes records 0..count of the store to path, making its folder; a
// journal as a killed program leaves it.
void WriteRecords(const QString &path, const SampleStore &store, std::int32_t count);

// What a run of recovery_child printed, line by line as it arrives.
struct ChildReport {
    QStringList questions;
    QStringList other; // "M ...", "T ...", "F ..." lines
    std::map<std::int32_t, Sample> records;

    void take(QProcess &process);

    QByteArray pending;
};
