#pragma once

// The recording file (*.KRD): 32-byte little-endian records with nothing
// before, between or after them. Record 0 is the statistics record, records
// 1..R-1 are the samples in the order they were taken. The records are stored
// byte for byte as they lie in the store, padding included.
// Also the CSV text of a recording, shared by `amperotool dump` and the
// window's export.

#include "SampleStore.h"

#include <QString>

#include <cstdint>
#include <vector>

class QIODevice;

struct RecordFileResult {
    bool ok = false;
    QString error;                      // why it failed, for a message that names the file
    bool trailingPartialRecord = false; // the file ended in a partial record, which was ignored
};

// Sample indices are held in single floats, exact up to this count.
constexpr std::int64_t MaxRecordFileRecords = 16777216;

// Reads a whole file, read-only. On success `records` holds every whole record
// (at least the statistics record); on failure it is left as it was.
RecordFileResult ReadRecordFile(const QString &path, std::vector<Sample> &records);

// Writes records 0..SampleCount to a temporary file beside `path`, flushes it to
// disk and renames it over `path`; on failure an existing file is left untouched.
RecordFileResult WriteRecordFile(const QString &path, const SampleStore &store);

// The header line of the CSV text, without its line feed.
extern const char SamplesCsvHeader[];

// Samples 1..SampleCount as CSV (UTF-8, C locale, "\n" line ends) after the header line.
RecordFileResult WriteSamplesCsv(QIODevice &out, const SampleStore &store);

// The CSV text written to a file the same safe way as WriteRecordFile.
RecordFileResult WriteCsvFile(const QString &path, const SampleStore &store);

// The window position i after loading: the newest samples that lie less than
// `rightx` (seconds in time mode, samples otherwise) before the last one are
// shown, so the window starts at sample i + 1 and the scroll bar sits at i.
// 0 when the whole recording fits.
std::int32_t LoadWindowStart(const SampleStore &store, float rightx, bool timeMode);
