#pragma once

// Keeps a recording file equal to records 0..SampleCount of a store while the
// store grows, at a cost that does not grow with the recording: the records
// appended since the last write go to the end of the file, then record 0 is
// written in place, and the file is taken to the disk at most every
// SyncIntervalMs. A program killed at any moment leaves a recording that
// holds every sample written before (at worst its record 0 lags behind, or a
// partial record at the end, which readers ignore). The recovery journal and
// `amperotool record` write through it.

#include "SampleStore.h"

#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <functional>

// What the owner of the file adds to writing it; each text is empty when
// all is well, else the reason that writing fails.
struct RecordingFileSetup {
    // Before every write: the owner may take a lock or choose another
    // path (setPath) first.
    std::function<QString()> beforeWrite;
    // Before the file is made anew: makes its folder. Without it a missing
    // folder fails, as it must for a recording on a stick that was pulled
    // (rather than going to the mount point's folder).
    std::function<QString(const QString &folder)> makeFolder;
    // On every file opened for writing (its handle).
    std::function<QString(int handle)> prepareFile;
    // New files readable and writable by the user only, whatever the umask.
    bool userOnly = false;
};

class RecordingWriter : public QObject {
    Q_OBJECT
public:
    // What was written reaches the disk within this time.
    static constexpr int SyncIntervalMs = 2000;

    // A writer of `store` into the file at `path`. Nothing is written before
    // the first update().
    RecordingWriter(const SampleStore &store, const QString &path, RecordingFileSetup setup = {},
                    QObject *parent = nullptr);
    ~RecordingWriter() override;

    QString path() const { return path_; }
    // From now on the file at `path`, written anew at the next update().
    void setPath(const QString &path);

    // Brings the file up to records 0..SampleCount of the store and starts
    // the sync timer. A recording that was replaced (New, Open) is written
    // anew. After a failure only the timer tries again, so that a full disk
    // is not hammered at every sample. False when the file is not up to date.
    bool update();
    // Takes everything written so far to the disk now; also notices a file
    // that was removed or replaced meanwhile (its samples would be lost).
    bool flush();
    // update() and flush() at once, with a second attempt right away when the
    // first fails (a file that was removed is written anew): the last save
    // before the program ends.
    bool writeAndSync();
    // Stops writing: the file is closed and the problem forgotten; a later
    // update() writes the file anew.
    void close();

    // "cannot write PATH: reason" while the file cannot be kept up to date;
    // empty while it can.
    QString problem() const { return problem_; }

    // "cannot write PATH: reason"
    static QString ProblemText(const QString &path, const QString &reason);

signals:
    // Writing failed (with the problem) or works again (empty).
    void problemChanged(const QString &problem);

private:
    bool writeNewRecords();
    bool writeAt(qint64 offset, const char *data, std::size_t size);
    bool stillAtItsPath() const;
    bool fail(const QString &reason);
    void setProblem(const QString &problem);
    void onSyncTimer();

    const SampleStore &store_;
    QString path_;
    RecordingFileSetup setup_;
    QFile file_;
    QTimer syncTimer_;
    std::size_t written_ = 0;  // records 0..written_-1 are in the file
    Sample lastWritten_;       // record written_-1 as it was written
    Sample statisticsWritten_; // record 0 as it was written
    bool folderSynced_ = true; // the file's folder entry is on the disk
    QString problem_;
};
