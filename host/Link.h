// What the window offers a feature that looks at the device link.
#pragma once

#include "link/Identification.h"
#include "link/Port.h"
#include "link/Session.h"
#include "params/ParameterImage.h"

#include <QString>

namespace vorn::host {

class Link {
public:
    virtual ~Link() = default;

    // The open port, or nullptr.
    virtual PortIo *port() const = 0;
    virtual const DeviceSession &session() const = 0;
    // The unit's program version, date and time from block 0.
    virtual const UnitIdentification &identification() const = 0;
    virtual int comPort() const = 0;
    // Selects Com n as its menu item does (opens its device, moves the check mark).
    virtual void selectPort(int n) = 0;
    // Whether the no-connection label shows now.
    virtual bool noConnectionShown() const = 0;

    // Lends the open port to a feature for a session of its own: from lendPort() until
    // returnPort() the window's tick sends and reads nothing, and the borrower writes its
    // frames to port() on its own tick. Refused (false) while a loan runs or no port is open.
    virtual bool lendPort() = 0;
    virtual void returnPort() = 0;
    // The window's tick, the pace of every session with the unit (its time-outs count ticks).
    static constexpr int kTickInterval = 55;   // ms
    // Programs `image` into the unit the way Device, Program does (clamped, restore point,
    // archive event, transferFinished at its end); the window shows it meanwhile, since it
    // is what the unit holds, and no undo step is recorded. False, with nothing started,
    // when no port is open, a replay or another transfer runs.
    virtual bool program(const ParameterImage &image) = 0;
};

}  // namespace vorn::host
