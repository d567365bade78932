// The device session: Read, Verify and Program driven by timer ticks and replies, the
// monitor polling while idle, the status countdown and the no-connection counter.
#pragma once

#include "Frame.h"
#include "Port.h"
#include "lang/Jazyk2.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorn {

enum SessionMode : std::uint8_t { ModeIdle = 0, ModeProgram = 1, ModeVerify = 2, ModeRead = 3 };

// One thing the window has to do for the session, in the order the session asks for it.
struct LinkEvent {
    enum Kind {
        ShowStatus,       // LabelHlaseni: text of `message`, colour by `style`, shown
        SetGauge,         // CGauge position `value`; `show` also makes it visible
        HideGauge,
        HideStatus,       // the countdown ran out: hide LabelHlaseni and CGauge
        ShowParameters,   // the image changed (and was clamped): show it in the controls
        IdentificationChanged,   // block 0 arrived: rebuild the identification texts
        VersionMismatch,  // the unit runs another program version: modal box, session idle
        MonitorFrame,     // a valid live-monitor reply in `frame`
        ConnectionLabel,  // LabelSpojeni visible when `show`
    };
    enum Style { Progress, Error, Success };   // Success appends " OK" to the text

    Kind kind;
    Msg message = Msg::Count;
    Style style = Progress;
    int value = 0;
    bool show = false;
    Frame frame{};
};
using LinkEvents = std::vector<LinkEvent>;

class DeviceSession {
public:
    static constexpr int kReplyTimeoutTicks = 4;    // a block is repeated on the 4th tick
    static constexpr int kMaxTransmissions = 5;
    static constexpr int kMonitorEveryTicks = 6;    // about 330 ms at 55 ms a tick
    static constexpr int kStatusTicks = 200;        // about 11 s
    static constexpr int kNoConnectionTicks = 18;   // about 1 s without a valid frame
    // The wait for a block frame to leave is bounded so a stalled line cannot freeze the
    // window; a whole frame takes about 17.7 ms at 57600 bit/s.
    static constexpr int kSendWaitMs = 100;

    explicit DeviceSession(ParameterImage &image) : image_(image) {}

    // The port the frames go through; nullptr when no port is open (frames go nowhere).
    void setPort(PortIo *port) { port_ = port; }
    PortIo *port() const { return port_; }

    // Starting an operation sends nothing; the first frame leaves from a later tick.
    LinkEvents startRead();
    LinkEvents startVerify();
    LinkEvents startProgram();
    // The frames of Read without its Verify phase: blocks 0..2 into the image, the version
    // check on block 0, clamping after block 2, then idle. A tool that changes the unit's
    // set starts from what the unit holds this way, so the bytes it does not change travel
    // back unchanged. The window never uses it.
    LinkEvents startReadBlocks();

    // One tick of the main timer: receive, advance the session, status countdown,
    // no-connection counter (the active-cell highlight is the window's last step).
    LinkEvents tick();

    // The device is gone: show the no-connection state from the next tick on.
    void connectionLost() { noConnectionCounter_ = kNoConnectionTicks; }
    // The device went away under a transfer: the transfer ends with its error text now,
    // since the unit on the line afterwards may not be the one it started with.
    LinkEvents abortTransfer();

    void setMessageCountdown(int ticks) { messageCountdown_ = ticks < 0 ? 0 : ticks; }
    int messageCountdown() const { return messageCountdown_; }

    SessionMode mode() const { return mode_; }
    std::uint8_t commandByte() const { return commandByte_; }
    int tickCounter() const { return tickCounter_; }
    int attemptCounter() const { return attemptCounter_; }
    int noConnectionCounter() const { return noConnectionCounter_; }
    int gauge() const { return gauge_; }
    const Frame &transmitBuffer() const { return transmit_; }
    // The last valid reply to each block request of the Verify phase, whether it matched
    // the image or not; empty for a block the unit did not answer. Cleared when an
    // operation starts, so after "Verify error!" it holds what the unit did send.
    const std::optional<Frame> &verifyReply(int block) const { return verifyReplies_.at(block); }
    // The blocks a Read copied into the image as the unit sent them, before clamping: a
    // tool comparing the unit with a file must see a byte the image was clamped from.
    const ParameterImage &receivedImage() const { return received_; }
    // The blocks the last Program sent a write frame for, one bit per block: after a failed
    // Program the unit may hold these blocks of the new image and the rest of the old one.
    std::uint8_t blocksWritten() const { return blocksWritten_; }

    // The frame operations, usable on their own.
    void SendBlockFrame();
    void SendMonitorRequest();
    void PollReceive(LinkEvents &out);
    void HandleBlockReply(const Frame &reply, LinkEvents &out);

private:
    LinkEvents start(SessionMode mode, std::uint8_t command, Msg text);
    void advance(LinkEvents &out);
    void beginVerify(LinkEvents &out);
    void fail(LinkEvents &out);
    bool blockMatchesImage(const Frame &reply, int block) const;
    void copyIntoImage(const Frame &reply, int block);
    void clampImage();
    void status(LinkEvents &out, Msg text, LinkEvent::Style style);

    ParameterImage &image_;
    PortIo *port_ = nullptr;
    SessionMode mode_ = ModeIdle;
    bool blocksOnly_ = false;   // ModeRead ends after block 2, without the Verify phase
    std::uint8_t blocksWritten_ = 0;
    std::uint8_t commandByte_ = 0;
    int tickCounter_ = 0;
    int attemptCounter_ = 0;
    int messageCountdown_ = 0;
    int noConnectionCounter_ = 0;
    int gauge_ = 0;
    Frame transmit_{};
    std::array<std::optional<Frame>, kBlockCount> verifyReplies_{};
    ParameterImage received_;
};

}  // namespace vorn
