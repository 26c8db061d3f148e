#include "AcquisitionController.h"

#include <QCoreApplication>

QtQuestionTimer::QtQuestionTimer()
{
    timer_.setSingleShot(true);
    // A coarse timer may run out up to 5 % early: the question gets its full 30 s.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (expired_)
            expired_();
    });
}

void QtQuestionTimer::start(int milliseconds, std::function<void()> expired)
{
    expired_ = std::move(expired);
    timer_.start(milliseconds);
}

void QtQuestionTimer::stop()
{
    timer_.stop();
    expired_ = nullptr;
}

AcquisitionController::AcquisitionController(ProgramState &state, AcquisitionView &view, TickClock &clock,
                                             QObject *parent)
    : QObject(parent), cycle_(state, link_, clock, view)
{
    cycle_.setQuestionTimer(&questionTimer_);
    reconnect_.setInterval(ReconnectIntervalMs);
    connect(&link_, &SerialLink::frameWaiting, this, [this] { runCycle(ReceiveEvent::FrameWaiting); });
    connect(&link_, &SerialLink::overflowed, this, [this] { runCycle(ReceiveEvent::Overflow); });
    connect(&link_, &SerialLink::lost, this, &AcquisitionController::onLost);
    connect(&reconnect_, &QTimer::timeout, this, &AcquisitionController::tryReconnect);
}

OpenFailure AcquisitionController::start(const QString &devicePath)
{
    if (state_ != LinkState::Stopped)
        return OpenFailure::None;
    const OpenFailure failure = link_.open(devicePath);
    if (failure == OpenFailure::None)
        setState(LinkState::Running);
    return failure;
}

void AcquisitionController::stop()
{
    reconnect_.stop();
    link_.close();
    setState(LinkState::Stopped);
}

void AcquisitionController::runCycle(ReceiveEvent event)
{
    const CycleCounters before = cycle_.counters();
    cycle_.run(event);
    const CycleCounters &after = cycle_.counters();
    if (after.damagedFrames != before.damagedFrames)
        emit damagedFramesChanged(after.damagedFrames);
    if (after.unansweredQuestions != before.unansweredQuestions)
        emit questionUnanswered();
}

void AcquisitionController::setState(LinkState state)
{
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state);
}

void AcquisitionController::onLost()
{
    if (state_ != LinkState::Running)
        return;
    setState(LinkState::Reconnecting);
    reconnect_.start();
}

void AcquisitionController::tryReconnect()
{
    if (link_.open(link_.devicePath()) != OpenFailure::None)
        return;
    reconnect_.stop();
    setState(LinkState::Running);
}

QString PortInUseMessage(int portNumber)
{
    return QCoreApplication::translate("AcquisitionController", "Com%1 is being used!! please select other ComPort.")
        .arg(portNumber);
}

QString PermissionDeniedMessage(const QString &devicePath)
{
    return QCoreApplication::translate(
               "AcquisitionController",
               "You may not open the serial port %1. Serial ports belong to the group dialout: "
               "add your user to it (sudo usermod -aG dialout $USER), then log out and in again.")
        .arg(devicePath);
}

QString StartFailureMessage(OpenFailure failure, int portNumber, const QString &devicePath)
{
    switch (failure) {
    case OpenFailure::InUse:
        return PortInUseMessage(portNumber);
    case OpenFailure::PermissionDenied:
        return PermissionDeniedMessage(devicePath);
    case OpenFailure::None:
    case OpenFailure::DoesNotExist:
    case OpenFailure::Other:
        break;
    }
    return QString();
}
