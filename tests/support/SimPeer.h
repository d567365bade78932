// Connects a MemoryPort to the simulated unit model: every write is answered at once.
#pragma once

#include "MemoryPort.h"
#include "sim/UnitModel.h"

inline void attachUnit(MemoryPort &port, vornsim::UnitModel &unit, double seconds = 1.0)
{
    port.peer = [&port, &unit, seconds](const QByteArray &request) {
        if (request.size() != 102)
            return;
        for (const vornsim::LineWrite &w : unit.answer(reinterpret_cast<const std::uint8_t *>(request.constData()), seconds))
            port.feedReceived(QByteArray(reinterpret_cast<const char *>(w.bytes.data()), static_cast<qsizetype>(w.bytes.size())));
    };
}
