#pragma once

// The recovery journal: while acquisition runs, every appended sample is also
// written to a file in the user's data folder, so that a recording survives a
// crash, a kill or a power cut. The file is a recording like any other
// (records 0..SampleCount) at every moment. It goes away once nothing in it is
// left unsaved; a journal found at start-up is offered for recovery.
//
// Every window has a journal of its own (recovery.KRD, recovery-2.KRD, ...),
// held by a lock for as long as the window runs, so windows on several ports
// record side by side and a window never offers, reads or deletes the journal
// of another one that is still running. Only the user can read them.

#include "ProgramState.h"
#include "RecordFile.h"
#include "RecordingWriter.h"
#include "SampleStore.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The lock of one journal: flock on "<journal>.lock" beside it. The system lets
// go of it when the program ends, however it ends, so a journal whose lock can
// be taken belongs to no running window; so does one without a lock file, as
// earlier versions left it.
class JournalLock {
public:
    enum class Result { Locked, Held, Failed };

    JournalLock() = default;
    // Lets go, as release() does.
    ~JournalLock();
    JournalLock(JournalLock &&other) noexcept;
    JournalLock &operator=(JournalLock &&other) noexcept;
    JournalLock(const JournalLock &) = delete;
    JournalLock &operator=(const JournalLock &) = delete;

    // Takes the lock of the journal at `journalPath`, making its folder (for
    // the user alone) when needed. Held: a running window has it. Failed:
    // errorString() says why.
    Result tryLock(const QString &journalPath);
    bool isLocked() const { return handle_ >= 0; }
    QString journalPath() const { return journalPath_; }
    QString errorString() const { return error_; }
    // Lets go; the lock file goes with it.
    void release();

private:
    int handle_ = -1;
    QString journalPath_;
    QString error_;
};

class RecoveryJournal : public QObject {
    Q_OBJECT
public:
    // What was written reaches the disk within this time.
    static constexpr int SyncIntervalMs = RecordingWriter::SyncIntervalMs;
    static constexpr const char *RecoverQuestion =
        QT_TRANSLATE_NOOP("RecoveryJournal", "A recording was not saved when Ampero last closed. Recover it?");

    // recovery.KRD in the folder RQ4417 of the user's data folder
    // ($XDG_DATA_HOME, else ~/.local/share), beside no other program's files.
    static QString DefaultPath();
    // The journal `number` (1, 2, ...) of the family that `first` names:
    // recovery.KRD, recovery-2.KRD, recovery-3.KRD, ...
    static QString JournalPath(const QString &first, int number);

    // A journal of `store`, in the first file of the family that `first`
    // names that no running window holds. Until it takes one (offerLeftJournals
    // or the first sample) path() is `first`.
    RecoveryJournal(const SampleStore &store, const QString &first, QObject *parent = nullptr);
    // Lets go of the lock; the file stays.
    ~RecoveryJournal() override;

    QString path() const { return writer_.path(); }
    // A journal file with at least one sample in it.
    bool holdsSamples() const;

    // At start-up: every journal of the family that no running window holds
    // and that has samples is offered, one question each (`ask` with
    // RecoverQuestion). No deletes it; Yes reads it and, when it can be read,
    // makes it this journal's file and ends the offers (any others wait for
    // the next start) and returns its records; one that cannot be read is
    // reported through `report` and kept. A journal without samples goes
    // without a question. Without a recovery this journal then takes a file
    // of its own.
    std::optional<std::vector<Sample>> offerLeftJournals(const std::function<bool(const QString &)> &ask,
                                                         const std::function<void(const QString &)> &report);

    // Brings the file up to records 0..SampleCount of the store. Only the
    // records appended since the last call are written, then record 0 in
    // place; a recording that was replaced is written anew.
    void sampleAppended();
    // Takes everything written so far to the disk.
    void flush();
    // After a file command: the journal goes once no sample is unsaved.
    void settle(bool unsavedSamples);
    // Deletes the journal's file; the journal keeps its name and lock.
    void remove();
    // The program is told to end from outside (log-out, kill): what was
    // appended is taken to the disk, and the file stays and is let go, to be
    // offered at the next start. Nothing is written or removed afterwards.
    void handOver();

    // Why the journal cannot be kept up to date; empty while it can.
    QString problem() const { return problem_; }

signals:
    // The journal stopped being written (with the reason) or is written again (empty).
    void problemChanged(const QString &problem);

private:
    // The first free file of the family, without samples left in it, for the
    // writer; empty, or why none can be had.
    QString claim();
    void setProblem(const QString &problem);

    QString first_;
    JournalLock lock_;
    bool handedOver_ = false;
    RecordingWriter writer_;
    QString problem_;
};

// A recovered journal becomes the current recording: unsaved, without a file,
// its statistics rebuilt from the samples (the journal's record 0 may lag
// behind its last samples). The caller places the view.
void LoadRecoveredRecording(ProgramState &state, std::vector<Sample> records);
