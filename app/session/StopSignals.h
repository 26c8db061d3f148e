#pragma once

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, `kill`, a desktop logging out, a closed
// terminal) turned into a Qt signal on the event loop. The handler itself only
// writes the signal's number to a socket pair; whatever the program does about
// it runs afterwards, where anything may run. A hang-up that was ignored when
// the program started (nohup) stays ignored.
//
// One at a time per process: the handlers are the process's.

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    // The handlers that were there before come back.
    ~StopSignals() override;

    // False when the handlers could not be put in place; the signals then end
    // the program as they would without this object.
    bool isActive() const { return active_; }

signals:
    // Once for every signal that came in, with its number.
    void stopRequested(int signalNumber);

private:
    void readRequests();
    void restoreHandlers();

    int pair_[2] = {-1, -1};
    bool active_ = false;
    QSocketNotifier *notifier_ = nullptr;
};
