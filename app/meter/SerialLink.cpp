#include "SerialLink.h"

#include <QFile>

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// QSerialPort reports a port held through its lock file and a device the user
// may not open with the same error; the device's access rights tell them apart.
OpenFailure classify(QSerialPort::SerialPortError error, const QString &devicePath)
{
    switch (error) {
    case QSerialPort::NoError:
        return OpenFailure::None;
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::DoesNotExist;
    case QSerialPort::PermissionError:
        if (::access(QFile::encodeName(devicePath).constData(), R_OK) != 0 && errno == EACCES)
            return OpenFailure::PermissionDenied;
        return OpenFailure::InUse;
    default:
        return OpenFailure::Other;
    }
}

} // namespace

SerialLink::SerialLink(QObject *parent) : QObject(parent)
{
    port_.setReadBufferSize(ReceiveBufferSize);
    deviceCheck_.setInterval(DeviceCheckIntervalMs);
    connect(&port_, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::onErrorOccurred);
    connect(&deviceCheck_, &QTimer::timeout, this, &SerialLink::checkDevice);
}

SerialLink::~SerialLink()
{
    close();
}

OpenFailure SerialLink::open(const QString &devicePath)
{
    close();
    devicePath_ = devicePath;
    port_.setPortName(devicePath);
    if (!port_.open(QIODevice::ReadOnly))
        return classify(port_.error(), devicePath);

    // The meter's line; modem-control lines are left as they are (a
    // pseudo-terminal refuses to set them).
    const bool configured = port_.setBaudRate(BaudRate) && port_.setDataBits(QSerialPort::Data8) &&
                            port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    struct stat opened {};
    if (!configured || ::fstat(port_.handle(), &opened) != 0) {
        port_.close();
        return OpenFailure::Other;
    }
    // Opening starts from an empty buffer, as after a reopen for resynchronisation.
    port_.clear(QSerialPort::Input);
    openedDevice_ = opened.st_dev;
    openedInode_ = opened.st_ino;
    deviceCheck_.start();
    return OpenFailure::None;
}

void SerialLink::close()
{
    deviceCheck_.stop();
    if (port_.isOpen())
        port_.close();
}

bool SerialLink::readFrame(MeterFrame &frame)
{
    if (!port_.isOpen() || port_.bytesAvailable() < qint64(MeterFrameSize))
        return false;
    return port_.read(reinterpret_cast<char *>(frame.data()), qint64(MeterFrameSize)) == qint64(MeterFrameSize);
}

void SerialLink::closePort()
{
    close();
}

void SerialLink::reopenPort()
{
    if (open(devicePath_) != OpenFailure::None)
        emit lost();
}

qint64 SerialLink::bytesWaiting() const
{
    // Qt stops reading from the device when its own buffer is full; the rest
    // still waits in the driver.
    int inDriver = 0;
    if (::ioctl(port_.handle(), FIONREAD, &inDriver) != 0)
        inDriver = 0;
    return port_.bytesAvailable() + inDriver;
}

void SerialLink::onReadyRead()
{
    if (bytesWaiting() > ReceiveBufferSize) {
        emit overflowed();
        return;
    }
    // One notification per 22 bytes; the cycle may close and reopen the port
    // meanwhile, which empties the buffer.
    while (port_.isOpen() && port_.bytesAvailable() >= qint64(MeterFrameSize)) {
        const qint64 before = port_.bytesAvailable();
        emit frameWaiting();
        if (port_.isOpen() && port_.bytesAvailable() >= before)
            break; // nobody took the block
    }
}

void SerialLink::onErrorOccurred(QSerialPort::SerialPortError error)
{
    // An unplugged device reports a read error again and again until closed.
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) && port_.isOpen())
        loseDevice();
}

void SerialLink::checkDevice()
{
    if (!port_.isOpen())
        return;
    // Some Qt versions report nothing on a hang-up: look at the device ourselves.
    struct stat now {};
    const bool sameDevice = ::stat(QFile::encodeName(devicePath_).constData(), &now) == 0 &&
                            now.st_dev == openedDevice_ && now.st_ino == openedInode_;
    pollfd hangup{port_.handle(), 0, 0};
    const bool hungUp = ::poll(&hangup, 1, 0) > 0 && (hangup.revents & (POLLHUP | POLLERR | POLLNVAL));
    if (!sameDevice || hungUp)
        loseDevice();
}

void SerialLink::loseDevice()
{
    close();
    emit lost();
}

bool DeviceExists(const QString &devicePath)
{
    SerialLink link;
    const bool exists = link.open(devicePath) != OpenFailure::DoesNotExist;
    link.close();
    return exists;
}
