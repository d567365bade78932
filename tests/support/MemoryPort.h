// An in-memory serial port for tests: fed bytes are read back, writes are recorded, and an
// optional peer (for example the simulated unit) answers each write.
#pragma once

#include "link/Port.h"

#include <QByteArray>

#include <functional>
#include <vector>

class MemoryPort : public vorn::PortIo {
public:
    QByteArray incoming;                   // bytes waiting in the input queue
    std::vector<QByteArray> written;       // one entry per write
    std::vector<long long> readRequests;   // maxBytes of every read
    int waits = 0;
    long long discarded = 0;               // bytes thrown away before requests
    std::function<void(const QByteArray &)> peer;

    void feedReceived(const QByteArray &bytes) { incoming += bytes; }

    void write(std::span<const std::uint8_t> bytes) override
    {
        const QByteArray data(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        written.push_back(data);
        if (peer)
            peer(data);
    }
    void waitUntilSent(int) override { ++waits; }
    long long bytesWaiting() override { return incoming.size(); }
    void discardInput() override
    {
        discarded += incoming.size();
        incoming.clear();
    }
    QByteArray read(long long maxBytes) override
    {
        readRequests.push_back(maxBytes);
        const QByteArray chunk = incoming.left(static_cast<qsizetype>(maxBytes));
        incoming.remove(0, chunk.size());
        return chunk;
    }

    // The command bytes of the writes, monitor requests left out when asked.
    std::vector<int> commands(bool withMonitor = false) const
    {
        std::vector<int> out;
        for (const QByteArray &w : written)
            if (!w.isEmpty() && (withMonitor || static_cast<std::uint8_t>(w[0]) != 0x30))
                out.push_back(static_cast<std::uint8_t>(w[0]));
        return out;
    }
};
