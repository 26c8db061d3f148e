#pragma once

// The --on-alarm command of `amperotool record`: a program with its arguments,
// given once by the user, run for every limit event with the event in
// AMPERO_ALARM_* environment variables. It never goes through a shell and no
// event data becomes part of the command line. The commands run one after the
// other, in the order of the events, without holding up the receive cycle.

#include "LimitAlarm.h"

#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <deque>

class AlarmCommand : public QObject {
    Q_OBJECT
public:
    // Events that wait while a command runs; beyond this they are dropped
    // (with a message) rather than piling up behind a command that hangs.
    static constexpr std::size_t MaxWaiting = 100;

    // `commandLine` is split as QProcess::splitCommand does (quotes group words).
    explicit AlarmCommand(const QString &commandLine, QObject *parent = nullptr);
    ~AlarmCommand() override;

    // No program in the command line.
    bool isEmpty() const { return program_.isEmpty(); }

    // The file being recorded, passed on as AMPERO_ALARM_FILE.
    void setRecordingFile(const QString &path) { recordingFile_ = path; }
    // Starts the command for the event, or queues it behind the one that runs.
    void run(const LimitEvent &event);
    // Waits for the running and the queued commands, up to `timeoutMs` in
    // all; true when every one of them finished.
    bool finish(int timeoutMs);

    // The environment a command gets for the event: this program's own plus
    // the event's fields.
    QProcessEnvironment environmentFor(const LimitEvent &event) const;

signals:
    // A command could not be started, failed or was dropped; for the user.
    void problem(const QString &text);

private:
    void startNext();
    void onFinished(int exitCode, QProcess::ExitStatus status);

    QString program_;
    QStringList arguments_;
    QString recordingFile_;
    QProcess *running_ = nullptr; // deleted later: it is still emitting when it finishes
    std::deque<LimitEvent> waiting_;
};
