// A unit on the master side of a pseudo-terminal that cuts one answer short and sends the
// repeat behind a stray byte fitted so that the leftover bytes, the stray byte and the head
// of the repeat would pass as a frame: the fault that lets a shifted block through when
// leftover bytes are kept.
#pragma once

#include "sim/UnitModel.h"

#include <QByteArray>

#include <atomic>
#include <poll.h>
#include <thread>
#include <unistd.h>

struct CuttingPeer {
    int fd = -1;
    vornsim::UnitModel unit;
    std::uint8_t cutCommand = 0;   // the request whose first two answers are spoilt
    int cutAfter = 0;
    int seenCut = 0;
    QByteArray pending;

    void send(const QByteArray &bytes) const
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n <= 0)
                return;
            done += n;
        }
    }

    // Takes in what the program sent and answers every whole request.
    void service()
    {
        char buffer[512];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            pending.append(buffer, static_cast<qsizetype>(n));
        while (pending.size() >= static_cast<qsizetype>(vornsim::kFrameBytes)) {
            const auto *request = reinterpret_cast<const std::uint8_t *>(pending.constData());
            const std::vector<std::uint8_t> clean = unit.reply(request, 1.0);
            const std::uint8_t command = request[0];
            pending.remove(0, static_cast<qsizetype>(vornsim::kFrameBytes));
            const QByteArray full(reinterpret_cast<const char *>(clean.data()), static_cast<qsizetype>(clean.size()));
            if (command != cutCommand || full.size() != static_cast<qsizetype>(vornsim::kFrameBytes)) {
                send(full);
            } else if (++seenCut == 1) {
                send(full.left(cutAfter));
            } else if (seenCut == 2) {
                send(QByteArray(1, static_cast<char>(fittedStray(full))) + full);
            } else {
                send(full);
            }
        }
    }

    // The byte that makes leftover + stray + head of the repeat a frame whose check fits.
    std::uint8_t fittedStray(const QByteArray &full) const
    {
        std::uint8_t stray = 0xFF;
        for (int i = 0; i < cutAfter; ++i)
            stray ^= static_cast<std::uint8_t>(full[i]);
        for (int i = 0; i < static_cast<int>(vornsim::kFrameBytes) - cutAfter - 1; ++i)
            stray ^= static_cast<std::uint8_t>(full[i]);
        return stray;
    }
};

// Runs a peer on its own thread while a separate program talks to the slave side.
class PeerThread {
public:
    explicit PeerThread(CuttingPeer &peer) : thread_([this, &peer] {
        while (!stop_) {
            pollfd p{peer.fd, POLLIN, 0};
            if (::poll(&p, 1, 5) > 0)
                peer.service();
        }
    }) {}
    ~PeerThread()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
