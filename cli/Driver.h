// Runs the window's device session headless: the same 55 ms ticks in an event loop, the
// same frames, retries, time-outs and version check, with progress on a terminal's stderr.
#pragma once

#include "link/LiveValues.h"
#include "link/SerialLink.h"

#include <QString>

#include <functional>
#include <memory>

namespace vorn::cli {

constexpr int kTickMs = 55;   // the window's Timer1

// Set by SIGINT, SIGTERM and SIGHUP; every loop below ends at its next tick. SIGXFSZ is
// ignored, so a file-size limit is a write error the command can report, not a kill.
bool interrupted();
void installInterruptHandlers();

// A --port value: "COMn" (1..10) as the window resolves it, anything else a device path.
QString resolvePort(const QString &value);

class Driver {
public:
    enum class Op { Read, ReadBlocks, Program, Verify };
    // Disagree: two reads of the unit, each whole and valid, did not bring the same bytes.
    enum class Outcome { Ok, Failed, VersionMismatch, Interrupted, Disagree };
    struct Result {
        Outcome outcome = Outcome::Failed;
        Msg message = Msg::Count;   // the session's last status text
        int ticks = 0;              // timer ticks from the start to the end
    };

    explicit Driver(ParameterImage &image) : session_(image) {}

    // Opens the line; false with a one-line reason when it cannot be opened.
    bool open(const QString &device, QString *reason);

    // One operation from its start to its end; never longer than the session's retries.
    Result run(Op op);

    // The unit's three blocks read twice, the way a tool must see them before it writes
    // what it took from them back: Ok only when both reads brought the same 300 bytes.
    Result readUnitTwice();

    // Idle ticks (monitor requests every sixth) until `seconds` (0: until interrupted)
    // have passed or onFrame returns false; calls onFrame for every valid monitor reply with
    // the time (ms since the start) its request left: the unit reads its values when the
    // request comes, while the reply waits up to a tick, or longer on a busy machine, to be
    // taken in.
    void monitor(double seconds, const std::function<bool(const Frame &, std::int64_t requestMs)> &onFrame);

    bool lost() const { return lost_; }
    // What the unit sent in the last Read, unclamped.
    const ParameterImage &received() const { return session_.receivedImage(); }
    // The blocks the last Program sent a write frame for (bit b for block b).
    std::uint8_t blocksWritten() const { return session_.blocksWritten(); }

private:
    void progress(const LinkEvent &e);

    DeviceSession session_;
    std::unique_ptr<SerialLink> port_;
    bool lost_ = false;
    bool showProgress_ = false;
    QString status_;
};

}  // namespace vorn::cli
