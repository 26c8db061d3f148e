#pragma once

// The recovery journal: while acquisition runs, every appended sample is also
// written to a file in the user's data folder, so that a recording survives a
// crash, a kill or a power cut. The file is a recording like any other
// (records 0..SampleCount) at every moment. It goes away once nothing in it is
// left unsaved; a journal found at start-up is offered for recovery.

#include "ProgramState.h"
#include "RecordFile.h"
#include "SampleStore.h"

#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <vector>

class RecoveryJournal : public QObject {
    Q_OBJECT
public:
    // What was written reaches the disk within this time.
    static constexpr int SyncIntervalMs = 2000;
    static constexpr const char *RecoverQuestion = "A recording was not saved when Ampero last closed. Recover it?";

    // recovery.KRD in the folder RQ4417 of the user's data folder
    // ($XDG_DATA_HOME, else ~/.local/share), beside no other program's files.
    static QString DefaultPath();

    // A journal of `store` kept in the file at `path`.
    RecoveryJournal(const SampleStore &store, const QString &path, QObject *parent = nullptr);
    ~RecoveryJournal() override;

    QString path() const { return path_; }
    // A journal file with at least one sample in it.
    bool holdsSamples() const;

    // Brings the file up to records 0..SampleCount of the store. Only the
    // records appended since the last call are written, then record 0 in
    // place; a recording that was replaced is written anew.
    void sampleAppended();
    // Takes everything written so far to the disk.
    void flush();
    // After a file command: the journal goes once no sample is unsaved.
    void settle(bool unsavedSamples);
    void remove();

    // Reads the journal's records (a journal left by an earlier run).
    RecordFileResult load(std::vector<Sample> &records) const;

    // Why the journal cannot be kept up to date; empty while it can.
    QString problem() const { return problem_; }

signals:
    // The journal stopped being written (with the reason) or is written again (empty).
    void problemChanged(const QString &problem);

private:
    bool writeNewRecords();
    bool writeAt(qint64 offset, const char *data, std::size_t size);
    bool fail(const QString &reason);
    void setProblem(const QString &problem);
    void onSyncTimer();

    const SampleStore &store_;
    QString path_;
    QFile file_;
    QTimer syncTimer_;
    std::size_t written_ = 0;  // records 0..written_-1 are in the file
    Sample lastWritten_;       // record written_-1 as it was written
    bool folderSynced_ = true; // the file's folder entry is on the disk
    QString problem_;
};

// A recovered journal becomes the current recording: unsaved, without a file,
// its statistics rebuilt from the samples (the journal's record 0 may lag
// behind its last samples). The caller places the view.
void LoadRecoveredRecording(ProgramState &state, std::vector<Sample> records);
