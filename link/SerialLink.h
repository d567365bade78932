// The serial port of the program: a QSerialPort opened exclusively, raw, 57600 8N1.
#pragma once

#include "Port.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <memory>

namespace vorn {

constexpr qint32 kBaudRate = 57600;

class SerialLink : public QObject, public PortIo {
    Q_OBJECT
public:
    // Opens and configures the device. On failure returns nullptr and sets `error` to the
    // system's reason (diagnoseOpenFailure turns it into advice).
    static std::unique_ptr<SerialLink> open(const QString &device, QString *error);
    ~SerialLink() override;

    void write(std::span<const std::uint8_t> bytes) override;
    void waitUntilSent(int maxMs) override;
    long long bytesWaiting() override;
    QByteArray read(long long maxBytes) override;
    void discardInput() override;

    QString device() const { return device_; }
    bool isOpen() const { return port_.isOpen(); }

private:
    explicit SerialLink(const QString &device);
    void handleError(QSerialPort::SerialPortError error);
    void closeDevice();

    QString device_;
    QSerialPort port_;
    bool lost_ = false;
};

}  // namespace vorn
