// The small interface through which the device link reaches a serial port.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <span>

namespace vorn {

// What the session needs of a port. The program uses the QSerialPort adapter (SerialLink);
// unit tests use an in-memory port. Failures of write and read are not reported: a frame
// that does not arrive is made good by the session's retransmission.
class PortIo {
public:
    virtual ~PortIo() = default;

    // Hands all bytes to the port in one write.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    // Blocks until the written bytes have left the port, but never longer than maxMs.
    virtual void waitUntilSent(int maxMs) = 0;
    // Bytes waiting in the input queue; clears any error condition of the port first.
    virtual long long bytesWaiting() = 0;
    // Reads up to maxBytes of the waiting bytes.
    virtual QByteArray read(long long maxBytes) = 0;
    // Throws away every byte waiting in the input: the rest of an answer cut short, or junk,
    // so that the answer to the request about to be sent starts at the first byte read.
    virtual void discardInput() = 0;

    // Called (from the event loop, never from inside a port call) when the device is gone:
    // cable pulled, pseudo-terminal closed. The owner should close the port.
    std::function<void()> onLost;
};

}  // namespace vorn
