#pragma once

// A long recording on disk as a series of files: `amperotool record` hands
// every appended sample to it. Each file is a complete recording of its own
// (statistics record, samples from index 1), kept up to date by a
// RecordingWriter. A new file starts when the split interval has passed since
// the first sample of the current one, and before a file would hold more
// records than the single-float sample indices of its statistics record can
// count exactly.

#include "RecordFile.h"
#include "RecordingWriter.h"
#include "SampleStore.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

struct SplitSettings {
    // The --out file. Without splitting it is the first file; the files that
    // follow it are named NAME-YYYYMMDD-HHMMSS.KRD, NAME being `out` without
    // its extension and the time the local time of the file's first sample.
    QString out;
    // Seconds from a file's first sample to the first sample of the next file.
    std::optional<double> splitEvery;
    // Most records (statistics record included) one file holds.
    std::int64_t recordLimit = MaxRecordFileRecords;
};

// Why a file was started.
enum class SplitReason {
    First,       // the recording began
    Interval,    // the split interval passed
    RecordLimit, // the previous file was full
};

class SplitRecorder : public QObject {
    Q_OBJECT
public:
    // Records the samples of `store`, which it empties at every new file.
    SplitRecorder(SampleStore &store, const SplitSettings &settings, QObject *parent = nullptr);
    ~SplitRecorder() override;

    // Before the first sample. Without splitting the empty recording is
    // written to `out` at once; with it, `out`'s folder must be there to take
    // the files. False with the problem set when that fails.
    bool start();
    // After the receive cycle appended a sample (its statistics not yet
    // updated): moves it into a new file when one is due, updates the
    // statistics record and writes the new records.
    void sampleAppended();
    // The last save: everything on the disk. False when that failed.
    bool finish();

    // The file being written; empty before the first file of a split recording.
    QString path() const;
    QString problem() const { return problem_; }

    // The file name for a file whose first sample has `stamp` (an OLE date):
    // the first free one of NAME-YYYYMMDD-HHMMSS.KRD, NAME-...-2.KRD, ...
    static QString SeriesFileName(const QString &out, double stamp);
    // The folder and NAME of those files.
    static QString SeriesStem(const QString &out);

signals:
    void fileStarted(const QString &path, SplitReason reason);
    // Writing failed (with "cannot write PATH: reason") or works again (empty).
    void problemChanged(const QString &problem);

private:
    bool splitDue(const Sample &newest) const;
    void startFile(const QString &path);
    void setProblem(const QString &problem);

    SampleStore &store_;
    SplitSettings settings_;
    std::unique_ptr<RecordingWriter> writer_;
    float fileStartSeconds_ = 0;
    QString problem_;
};

// "24h", "90m", "3600s", "2d" or a plain number of seconds, in seconds;
// nothing for a text that is none of these or not above 0.
std::optional<double> ParseDuration(const QString &text);
