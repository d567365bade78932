// The device session state machine.
#include "Session.h"

#include "Identification.h"

#include <algorithm>

namespace vorn {

namespace {

LinkEvent event(LinkEvent::Kind kind)
{
    LinkEvent e;
    e.kind = kind;
    return e;
}

LinkEvent gaugeEvent(int value, bool show)
{
    LinkEvent e = event(LinkEvent::SetGauge);
    e.value = value;
    e.show = show;
    return e;
}

}  // namespace

void DeviceSession::status(LinkEvents &out, Msg text, LinkEvent::Style style)
{
    LinkEvent e = event(LinkEvent::ShowStatus);
    e.message = text;
    e.style = style;
    out.push_back(e);
    messageCountdown_ = kStatusTicks;
}

LinkEvents DeviceSession::start(SessionMode mode, std::uint8_t command, Msg text)
{
    // The tick counter is left alone, so the first frame leaves 1 to 4 ticks from now.
    LinkEvents out;
    mode_ = mode;
    blocksOnly_ = false;
    verifyReplies_ = {};
    blocksWritten_ = 0;
    commandByte_ = command;
    attemptCounter_ = 0;
    status(out, text, LinkEvent::Progress);
    gauge_ = 0;
    out.push_back(gaugeEvent(0, true));
    return out;
}

LinkEvents DeviceSession::startRead()
{
    return start(ModeRead, Cmd::BlockRead + 0, Msg::Read);
}

LinkEvents DeviceSession::startReadBlocks()
{
    LinkEvents out = startRead();
    blocksOnly_ = true;
    return out;
}

LinkEvents DeviceSession::startVerify()
{
    return start(ModeVerify, Cmd::BlockRead + 1, Msg::Verify);
}

LinkEvents DeviceSession::startProgram()
{
    return start(ModeProgram, Cmd::BlockWrite + 0, Msg::ProgramDevice);
}

void DeviceSession::SendBlockFrame()
{
    tickCounter_ = 0;
    transmit_ = blockFrame(commandByte_, image_, mode_ == ModeRead);
    if (!port_)
        return;
    // Leftovers of an answer cut short would otherwise head the next read, and with one
    // chance in 256 a shifted block would pass the check byte.
    port_->discardInput();
    if (mode_ == ModeProgram)
        blocksWritten_ |= static_cast<std::uint8_t>(1u << blockOf(commandByte_));
    port_->write(transmit_);
    port_->waitUntilSent(kSendWaitMs);
}

void DeviceSession::SendMonitorRequest()
{
    transmit_ = monitorRequestFrame();
    if (!port_)
        return;
    port_->discardInput();
    port_->write(transmit_);
}

void DeviceSession::PollReceive(LinkEvents &out)
{
    if (!port_)
        return;
    const long long count = bytesToRead(port_->bytesWaiting());
    if (count == 0)
        return;
    const QByteArray data = port_->read(count);
    if (data.size() < kFrameSize)
        return;   // the port delivered less than it promised; nothing to interpret
    // Only the first frame of a read counts; whatever follows it is dropped.
    Frame frame;
    std::copy_n(reinterpret_cast<const std::uint8_t *>(data.constData()), kFrameSize, frame.begin());
    if (frame[0] == Cmd::MonitorReply) {
        if (!frameIsValid(frame))
            return;
        noConnectionCounter_ = 0;
        LinkEvent e = event(LinkEvent::MonitorFrame);
        e.frame = frame;
        out.push_back(e);
    } else {
        HandleBlockReply(frame, out);
    }
}

bool DeviceSession::blockMatchesImage(const Frame &reply, int block) const
{
    const auto stored = image_.block(block);
    for (int j = 0; j < kFrameDataSize; ++j) {
        // The unit keeps its own value in reserved byte 1 of block 1; Verify ignores it.
        if (block == 1 && j == Off::Reserved101 - kBlockSize && mode_ == ModeVerify)
            continue;
        if (reply[1 + j] != stored[j])
            return false;
    }
    return true;
}

void DeviceSession::copyIntoImage(const Frame &reply, int block)
{
    std::copy_n(reply.begin() + 1, kFrameDataSize, image_.block(block).begin());
    std::copy_n(reply.begin() + 1, kFrameDataSize, received_.block(block).begin());
}

void DeviceSession::clampImage()
{
    // The language index and COM port beside the image are the window's; they were
    // sanitised at start-up and only take legal values afterwards.
    std::uint8_t language = 0, comPort = 1;
    ClampParameters(image_, language, comPort);
}

void DeviceSession::HandleBlockReply(const Frame &reply, LinkEvents &out)
{
    if (!frameIsValid(reply))
        return;
    const int block = blockOf(commandByte_);
    if (mode_ == ModeIdle || !replyMatches(commandByte_, reply) || block >= kBlockCount)
        return;
    noConnectionCounter_ = 0;

    switch (mode_) {
    case ModeProgram:
        if (block == 0) {
            copyIntoImage(reply, 0);
            out.push_back(event(LinkEvent::IdentificationChanged));
            clampImage();
            out.push_back(event(LinkEvent::ShowParameters));
            if (image_[Off::ProgramVersion] != kUnitProgramVersion) {
                mode_ = ModeIdle;
                out.push_back(event(LinkEvent::VersionMismatch));
                return;
            }
            advance(out);
        } else if (blockMatchesImage(reply, block)) {
            if (block < 2)
                advance(out);
            else
                beginVerify(out);
        }
        // A differing echo is dropped: the time-out sends the block again.
        break;
    case ModeVerify:
        verifyReplies_[static_cast<std::size_t>(block)] = reply;
        if (!blockMatchesImage(reply, block))
            return;
        if (block < 2) {
            advance(out);
        } else {
            out.push_back(event(LinkEvent::HideGauge));
            status(out, Msg::Verify, LinkEvent::Success);
            mode_ = ModeIdle;
        }
        break;
    case ModeRead:
        copyIntoImage(reply, block);
        if (block == 0) {
            out.push_back(event(LinkEvent::IdentificationChanged));
            if (image_[Off::ProgramVersion] != kUnitProgramVersion) {
                mode_ = ModeIdle;
                clampImage();
                out.push_back(event(LinkEvent::ShowParameters));
                out.push_back(event(LinkEvent::VersionMismatch));
                return;
            }
            advance(out);
        } else if (block == 1) {
            advance(out);
        } else {
            clampImage();
            out.push_back(event(LinkEvent::ShowParameters));
            if (blocksOnly_) {
                out.push_back(event(LinkEvent::HideGauge));
                mode_ = ModeIdle;
                // Nothing is in flight after the last reply: an operation started next lets
                // its first frame leave on its first tick instead of up to four later.
                tickCounter_ = kReplyTimeoutTicks - 1;
            } else {
                beginVerify(out);
            }
        }
        break;
    case ModeIdle:
        break;
    }
}

void DeviceSession::advance(LinkEvents &out)
{
    ++gauge_;
    out.push_back(gaugeEvent(gauge_, false));
    ++commandByte_;
    attemptCounter_ = 1;
    SendBlockFrame();
}

void DeviceSession::beginVerify(LinkEvents &out)
{
    mode_ = ModeVerify;
    commandByte_ = Cmd::BlockRead + 1;
    attemptCounter_ = 1;
    SendBlockFrame();
    status(out, Msg::Verify, LinkEvent::Progress);
    gauge_ = 0;
    out.push_back(gaugeEvent(0, false));
}

void DeviceSession::fail(LinkEvents &out)
{
    const Msg text = mode_ == ModeProgram ? Msg::ProgramError
                     : mode_ == ModeVerify ? Msg::VerifyError
                                           : Msg::ReadError;
    status(out, text, LinkEvent::Error);
    mode_ = ModeIdle;
}

LinkEvents DeviceSession::abortTransfer()
{
    LinkEvents out;
    if (mode_ != ModeIdle)
        fail(out);
    return out;
}

LinkEvents DeviceSession::tick()
{
    LinkEvents out;
    PollReceive(out);

    if (mode_ == ModeIdle) {
        if (++tickCounter_ >= kMonitorEveryTicks) {
            tickCounter_ = 0;
            SendMonitorRequest();
        }
    } else if (++tickCounter_ >= kReplyTimeoutTicks) {
        tickCounter_ = 0;
        if (++attemptCounter_ <= kMaxTransmissions)
            SendBlockFrame();
        else
            fail(out);
    }

    if (messageCountdown_ > 0 && --messageCountdown_ == 0)
        out.push_back(event(LinkEvent::HideStatus));

    LinkEvent label = event(LinkEvent::ConnectionLabel);
    if (noConnectionCounter_ < kNoConnectionTicks) {
        ++noConnectionCounter_;
        label.show = false;
    } else {
        label.show = true;
    }
    out.push_back(label);
    return out;
}

}  // namespace vorn
