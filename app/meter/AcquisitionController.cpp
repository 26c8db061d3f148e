#include "AcquisitionController.h"

#include <QCoreApplication>
#include <QFile>

#include <grp.h>
#include <sys/stat.h>
#include <vector>

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

AcquisitionController::AcquisitionController(SampleStore &store, AcquisitionState &acquisition, AcquisitionView &view,
                                             TickClock &clock, QObject *parent)
    : QObject(parent), cycle_(store, acquisition, link_, clock, view)
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

namespace {

// The name of group `id`, or its number when the system has no name for it.
QString GroupName(gid_t id)
{
    std::vector<char> buffer(16384);
    group entry{};
    group *found = nullptr;
    if (::getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->gr_name);
    return QString::number(id);
}

} // namespace

QString PermissionDeniedMessage(const QString &devicePath)
{
    struct stat device {};
    if (::stat(QFile::encodeName(devicePath).constData(), &device) != 0)
        return QCoreApplication::translate("AcquisitionController", "You may not open the serial port %1.")
            .arg(devicePath);
    const QString group = GroupName(device.st_gid);
    constexpr mode_t GroupReadWrite = S_IRGRP | S_IWGRP;
    if (device.st_gid != 0 && (device.st_mode & GroupReadWrite) == GroupReadWrite)
        return QCoreApplication::translate(
                   "AcquisitionController",
                   "You may not open the serial port %1. It belongs to the group %2: "
                   "add your user to it (sudo usermod -aG %2 $USER), then log out and in again.")
            .arg(devicePath, group);
    // Joining the administrators' group, or a group without read and write
    // access, is not the way.
    return QCoreApplication::translate("AcquisitionController",
                                       "You may not open the serial port %1, and joining its group %2 would not help: "
                                       "give a group of yours access to it, for example with a udev rule like "
                                       "60-ampero-meter.rules in Ampero's documentation folder.")
        .arg(devicePath, group);
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
