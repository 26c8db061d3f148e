#pragma once

// START, STOP and the reconnect attempts around one serial link and the
// receive cycle. The main window (and `amperotool record`) drives it and
// follows its state; the recording itself lives in the sample store.

#include "ReceiveCycle.h"
#include "SerialLink.h"

#include <QObject>
#include <QString>
#include <QTimer>

enum class LinkState {
    Stopped,      // the port is closed
    Running,      // frames run the receive cycle
    Reconnecting, // the device went away; it is opened again every 2 s until STOP
};

// The question's time limit on a QTimer, which fires in the box's event loop.
class QtQuestionTimer final : public QuestionTimer {
public:
    QtQuestionTimer();
    void start(int milliseconds, std::function<void()> expired) override;
    void stop() override;

private:
    QTimer timer_;
    std::function<void()> expired_;
};

class AcquisitionController : public QObject {
    Q_OBJECT
public:
    static constexpr int ReconnectIntervalMs = 2000;

    AcquisitionController(SampleStore &store, AcquisitionState &acquisition, AcquisitionView &view, TickClock &clock,
                          QObject *parent = nullptr);

    // START: opens the device. On failure the state stays Stopped and the
    // failure says why (StartFailureMessage gives the text to show).
    OpenFailure start(const QString &devicePath);
    // STOP: closes the port and ends reconnect attempts. Samples and running
    // sums stay; the next START continues the same recording.
    void stop();

    LinkState state() const { return state_; }
    QString devicePath() const { return link_.devicePath(); }
    // The serial layer's own words for the last failure.
    QString errorText() const { return link_.errorText(); }
    const CycleCounters &counters() const { return cycle_.counters(); }

signals:
    void stateChanged(LinkState state);
    // A frame damaged on the line arrived; `count` since the controller was made.
    void damagedFramesChanged(quint64 count);
    // The function-change question went unanswered and counted as No.
    void questionUnanswered();

private:
    void runCycle(ReceiveEvent event);
    void setState(LinkState state);
    void onLost();
    void tryReconnect();

    SerialLink link_;
    QtQuestionTimer questionTimer_;
    ReceiveCycle cycle_;
    QTimer reconnect_;
    LinkState state_ = LinkState::Stopped;
};

// "Com3 is being used!! please select other ComPort."
QString PortInUseMessage(int portNumber);
// Names the device and how to get access to it: joining the group that owns
// the device (read from the device itself), when that group may read and
// write it; otherwise that access has to be given first.
QString PermissionDeniedMessage(const QString &devicePath);
// The message box START shows for a failure, or an empty text for none (a
// missing port and other failures only return to Stopped).
QString StartFailureMessage(OpenFailure failure, int portNumber, const QString &devicePath);
