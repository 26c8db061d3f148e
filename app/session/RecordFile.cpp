#include "RecordFile.h"

#include "NumberText.h"
#include "OleDate.h"
#include "SampleTexts.h"
#include "WindowEdge.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <functional>
#include <string>

#include <unistd.h>

const char SamplesCsvHeader[] =
    "index,stamp,seconds,first_value,first_unit,second_value,second_unit,second_function,note,symbols2,mode";

namespace {

// Files are read and written in pieces of this many records.
constexpr std::size_t ChunkRecords = 32768;
constexpr std::size_t CsvChunkBytes = 1 << 20;

RecordFileResult failure(const QString &reason)
{
    RecordFileResult result;
    result.error = reason;
    return result;
}

RecordFileResult success()
{
    RecordFileResult result;
    result.ok = true;
    return result;
}

// Records 0..SampleCount must exist; every path that changes the store keeps it so.
bool holdsItsSamples(const SampleStore &store)
{
    return store.SampleCount >= 0 && std::size_t(store.SampleCount) < store.Samples.size();
}

const char *const InconsistentStore = QT_TRANSLATE_NOOP("RecordFile", "the recording in memory is inconsistent");

// The replace-or-keep write: the old file stays as it was unless the new one is
// completely on disk.
RecordFileResult writeAtomically(const QString &path, const std::function<RecordFileResult(QIODevice &)> &body)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    const RecordFileResult written = body(file);
    if (!written.ok) {
        file.cancelWriting();
        return written;
    }
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(reason);
    }
    // QSaveFile syncs too but ignores a failure there; a full or failing disk
    // shows up here.
    if (::fsync(file.handle()) != 0) {
        const QString reason = qt_error_string(errno);
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return success();
}

// A write can stop short (a disk filling up); the rest is tried until the
// device reports why it cannot take more.
RecordFileResult writeAll(QIODevice &out, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 written = out.write(data, size);
        if (written < 0)
            return failure(out.errorString());
        if (written == 0)
            return failure(QCoreApplication::translate("RecordFile", "nothing more could be written"));
        data += written;
        size -= written;
    }
    return success();
}

RecordFileResult writeAll(QIODevice &out, const std::string &bytes)
{
    return writeAll(out, bytes.data(), qint64(bytes.size()));
}

void appendInteger(std::string &text, std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

void appendHexByte(std::string &text, std::uint8_t value)
{
    static const char hex[] = "0123456789ABCDEF";
    text += hex[value >> 4];
    text += hex[value & 0x0F];
}

void appendCsvLine(std::string &text, std::int32_t index, const Sample &s)
{
    appendInteger(text, index);
    text += ',';
    text += OleDateIsoText(s.Stamp);
    text += ',';
    text += ShortestFloatText(s.Seconds);
    text += ',';
    text += ShortestFloatText(s.FirstValue);
    text += ',';
    text += FirstUnitName(s.FirstUnit);
    text += ',';
    text += SecondValueCsvText(s.Mode, s.SecondValue);
    text += ',';
    text += SecondUnitName(s.SecondUnit);
    text += ',';
    text += SecondFunctionText(s.Mode);
    text += ',';
    text += NoteText(s.Symbols2);
    text += ',';
    appendHexByte(text, s.Symbols2);
    text += ',';
    appendHexByte(text, s.Mode);
    text += '\n';
}

} // namespace

RecordFileResult ReadRecordFile(const QString &path, std::vector<Sample> &records)
{
    // A pipe or a device would block or never end; only plain files hold recordings.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return failure(QCoreApplication::translate("RecordFile", "it is not a regular file"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    const qint64 length = file.size();
    if (length < qint64(SampleRecordSize))
        return failure(
            QCoreApplication::translate("RecordFile", "the file is shorter than one record (%1 bytes; a record has %2)")
                .arg(length)
                .arg(SampleRecordSize));
    const qint64 recordCount = length / qint64(SampleRecordSize);
    if (recordCount > MaxRecordFileRecords)
        return failure(QCoreApplication::translate("RecordFile", "the file holds %1 records; at most %2 are supported")
                           .arg(recordCount)
                           .arg(MaxRecordFileRecords));

    std::vector<Sample> loaded;
    loaded.reserve(std::size_t(recordCount));
    // A short recording needs no full-size chunk.
    std::vector<std::uint8_t> chunk(std::min<std::size_t>(ChunkRecords, std::size_t(recordCount)) * SampleRecordSize);
    while (qint64(loaded.size()) < recordCount) {
        const std::size_t want = std::min<std::size_t>(ChunkRecords, std::size_t(recordCount) - loaded.size());
        const qint64 wantBytes = qint64(want * SampleRecordSize);
        qint64 got = 0;
        while (got < wantBytes) {
            const qint64 n = file.read(reinterpret_cast<char *>(chunk.data()) + got, wantBytes - got);
            if (n < 0)
                return failure(file.errorString());
            if (n == 0)
                return failure(QCoreApplication::translate("RecordFile", "the file became shorter while it was read"));
            got += n;
        }
        for (std::size_t i = 0; i < want; ++i)
            loaded.push_back(Sample::fromBytes(&chunk[i * SampleRecordSize]));
    }

    records = std::move(loaded);
    RecordFileResult result = success();
    result.trailingPartialRecord = length % qint64(SampleRecordSize) != 0;
    return result;
}

RecordFileResult WriteRecordFile(const QString &path, const SampleStore &store)
{
    if (!holdsItsSamples(store))
        return failure(QCoreApplication::translate("RecordFile", InconsistentStore));
    return writeAtomically(path, [&store](QIODevice &out) {
        const std::size_t recordCount = std::size_t(store.SampleCount) + 1;
        std::vector<std::uint8_t> chunk(std::min(ChunkRecords, recordCount) * SampleRecordSize);
        for (std::size_t first = 0; first < recordCount; first += ChunkRecords) {
            const std::size_t count = std::min(ChunkRecords, recordCount - first);
            for (std::size_t i = 0; i < count; ++i) {
                const SampleRecordBytes bytes = store.Samples[first + i].toBytes();
                std::copy(bytes.begin(), bytes.end(), chunk.begin() + std::ptrdiff_t(i * SampleRecordSize));
            }
            const RecordFileResult written =
                writeAll(out, reinterpret_cast<const char *>(chunk.data()), qint64(count * SampleRecordSize));
            if (!written.ok)
                return written;
        }
        return success();
    });
}

RecordFileResult WriteSamplesCsv(QIODevice &out, const SampleStore &store)
{
    if (!holdsItsSamples(store))
        return failure(QCoreApplication::translate("RecordFile", InconsistentStore));
    std::string text;
    text.reserve(CsvChunkBytes + 256);
    text += SamplesCsvHeader;
    text += '\n';
    for (std::int32_t i = 1; i <= store.SampleCount; ++i) {
        appendCsvLine(text, i, store.Samples[std::size_t(i)]);
        if (text.size() >= CsvChunkBytes) {
            const RecordFileResult written = writeAll(out, text);
            if (!written.ok)
                return written;
            text.clear();
        }
    }
    return writeAll(out, text);
}

RecordFileResult WriteCsvFile(const QString &path, const SampleStore &store)
{
    return writeAtomically(path, [&store](QIODevice &out) { return WriteSamplesCsv(out, store); });
}

std::int32_t LoadWindowStart(const SampleStore &store, float rightx, bool timeMode)
{
    // A sample exactly one chart width before the last is not shown.
    return WindowEdge(store, store.SampleCount, EdgeDirection::Backward, rightx, timeMode, WidthEnd::Excluded) - 1;
}
