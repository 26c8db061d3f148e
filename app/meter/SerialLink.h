#pragma once

// The serial line to the meter on QSerialPort: 19200 baud, 8 data bits, no
// parity, 1 stop bit, exclusive, nothing ever sent. It tells the receive
// cycle when 22 bytes wait or the 2200-byte receive buffer has overflowed,
// and notices a device that went away (a USB adapter pulled out).

#include "ReceiveCycle.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <sys/types.h>

enum class OpenFailure {
    None,
    DoesNotExist,
    InUse,            // another program holds it
    PermissionDenied, // the user may not open the device
    Other,
};

class SerialLink : public QObject, public MeterPort {
    Q_OBJECT
public:
    static constexpr qint32 BaudRate = 19200;
    static constexpr qint64 ReceiveBufferSize = 2200; // 100 frames
    // How often an open port checks that its device is still the one it opened.
    static constexpr int DeviceCheckIntervalMs = 1000;

    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    OpenFailure open(const QString &devicePath);
    void close();
    bool isOpen() const { return port_.isOpen(); }
    QString devicePath() const { return devicePath_; }
    // The serial layer's own words for the last failure.
    QString errorText() const { return port_.errorString(); }

    bool readFrame(MeterFrame &frame) override;
    void closePort() override;
    void reopenPort() override;

signals:
    void frameWaiting();
    void overflowed();
    // The device went away or could not be opened again; the port is closed.
    void lost();

private:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void checkDevice();
    void loseDevice();
    qint64 bytesWaiting() const;

    QSerialPort port_;
    QTimer deviceCheck_;
    QString devicePath_;
    dev_t openedDevice_ = 0;
    ino_t openedInode_ = 0;
};

// Whether the device exists: it is opened and closed again, and only a device
// that does not exist counts as missing (one in use elsewhere exists).
bool DeviceExists(const QString &devicePath);
