// The QSerialPort adapter of the port interface.
#include "SerialLink.h"

#include <QElapsedTimer>
#include <QThread>

#include <sys/ioctl.h>

namespace vorn {

SerialLink::SerialLink(const QString &device) : device_(device)
{
    port_.setPortName(device);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::handleError);
}

std::unique_ptr<SerialLink> SerialLink::open(const QString &device, QString *error)
{
    std::unique_ptr<SerialLink> link(new SerialLink(device));
    // QSerialPort takes a lock file and TIOCEXCL, so a second program is refused the line;
    // it puts the line into raw mode, and back into the settings it found when it closes.
    if (!link->port_.open(QIODevice::ReadWrite)) {
        if (error)
            *error = link->port_.errorString();
        return nullptr;
    }
    // A setting the device refuses is not reported: the unit then simply does not answer,
    // which the no-connection label shows.
    QSerialPort &p = link->port_;
    p.setBaudRate(kBaudRate);
    p.setDataBits(QSerialPort::Data8);
    p.setParity(QSerialPort::NoParity);
    p.setStopBits(QSerialPort::OneStop);
    p.setFlowControl(QSerialPort::NoFlowControl);
    p.setReadBufferSize(0);
    p.clear(QSerialPort::AllDirections);
    return link;
}

SerialLink::~SerialLink()
{
    closeDevice();
}

void SerialLink::closeDevice()
{
    if (port_.isOpen())
        port_.close();
}

void SerialLink::handleError(QSerialPort::SerialPortError error)
{
    // A vanished device keeps reporting read errors as fast as the event loop turns; close
    // at once and tell the owner from the event loop, outside QSerialPort's own call.
    const bool fatal = error == QSerialPort::ReadError || error == QSerialPort::ResourceError
                       || error == QSerialPort::WriteError;
    if (!fatal || lost_)
        return;
    lost_ = true;
    port_.close();
    QMetaObject::invokeMethod(
        this, [this] {
            if (onLost)
                onLost();
        },
        Qt::QueuedConnection);
}

void SerialLink::write(std::span<const std::uint8_t> bytes)
{
    if (!port_.isOpen())
        return;
    port_.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    port_.flush();
}

void SerialLink::waitUntilSent(int maxMs)
{
    if (!port_.isOpen())
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    if (port_.bytesToWrite() > 0)
        port_.waitForBytesWritten(maxMs);
    // Written to the driver is not yet on the line: wait for its output queue to drain.
    const int fd = static_cast<int>(port_.handle());
    while (port_.isOpen() && elapsed.elapsed() < maxMs) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        QThread::usleep(500);
    }
}

long long SerialLink::bytesWaiting()
{
    if (!port_.isOpen())
        return 0;
    port_.clearError();
    return port_.bytesAvailable();
}

QByteArray SerialLink::read(long long maxBytes)
{
    if (!port_.isOpen())
        return {};
    return port_.read(maxBytes);
}

void SerialLink::discardInput()
{
    if (!port_.isOpen())
        return;
    // Bytes the driver holds and bytes Qt already took in are both dropped.
    port_.clear(QSerialPort::Input);
}

}  // namespace vorn
