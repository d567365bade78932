// Fuzz entry for the device session: random byte streams through the receive poll into the
// monitor decoder and the reply handler, with a session started in each mode.
#include "link/Session.h"

#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace {

// A port whose input queue the fuzzer fills; every frame the session writes is checked.
class FuzzPort : public vorn::PortIo {
public:
    QByteArray incoming;

    void write(std::span<const std::uint8_t> bytes) override
    {
        if (bytes.size() != vorn::kFrameSize)
            std::abort();   // every frame on the line is exactly one frame
        std::uint8_t check = 0xFF;
        for (std::uint8_t b : bytes)
            check ^= b;
        if (check != 0)
            std::abort();   // and carries a correct check byte
    }
    void waitUntilSent(int) override {}
    long long bytesWaiting() override { return incoming.size(); }
    // The whole stream stands for bytes that arrive after each request, so none is dropped.
    void discardInput() override {}
    QByteArray read(long long maxBytes) override
    {
        const QByteArray chunk = incoming.left(static_cast<qsizetype>(maxBytes));
        incoming.remove(0, chunk.size());
        return chunk;
    }
};

vorn::ParameterImage startImage()
{
    vorn::ParameterImage image;
    for (int i = 0; i < vorn::kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + 5);
    std::uint8_t language = 0, com = 1;
    vorn::ClampParameters(image, language, com);   // so clamping after a reply changes nothing
    return image;
}

}  // namespace

// Input: one byte choosing the operation (idle, Program, Verify, Read), then chunks of a
// 16-bit little-endian length (at most 4096) and that many bytes, each fed to the port
// before one timer tick; a few idle ticks follow the last chunk.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    vorn::ParameterImage image = startImage();
    const vorn::ParameterImage before = image;
    vorn::DeviceSession session(image);
    FuzzPort port;
    session.setPort(&port);
    const int start = data[0] & 3;
    if (start == vorn::ModeProgram)
        session.startProgram();
    else if (start == vorn::ModeVerify)
        session.startVerify();
    else if (start == vorn::ModeRead)
        session.startRead();

    std::size_t pos = 1;
    int idleTicks = 0;
    // Feed every chunk, then let the session run out: without further replies it gives up
    // after five transmissions of its block, so 500 more ticks always suffice.
    while (pos < size || (session.mode() != vorn::ModeIdle && idleTicks < 500)) {
        if (pos + 2 <= size) {
            std::size_t len = (data[pos] | (data[pos + 1] << 8)) % 4097;
            pos += 2;
            len = std::min(len, size - pos);
            port.incoming.append(reinterpret_cast<const char *>(data + pos), static_cast<qsizetype>(len));
            pos += len;
        } else {
            pos = size;
            ++idleTicks;
        }
        session.tick();
        const int mode = session.mode();
        if (mode < vorn::ModeIdle || mode > vorn::ModeRead)
            std::abort();
        // Nothing but a started Read ever enters Read.
        if (mode == vorn::ModeRead && start != vorn::ModeRead)
            std::abort();
        if (session.attemptCounter() > vorn::DeviceSession::kMaxTransmissions + 1)
            std::abort();
    }
    // Without replies the session always gives up: five transmissions, then idle.
    if (session.mode() != vorn::ModeIdle)
        std::abort();
    // Only a Read may change the settings and the map; Program takes the unit's block 0
    // (its identification) and nothing else; Verify and idle polling change nothing.
    if (start != vorn::ModeRead) {
        const int firstKept = start == vorn::ModeProgram ? vorn::kBlockSize : 0;
        if (std::memcmp(image.bytes.data() + firstKept, before.bytes.data() + firstKept,
                        vorn::kImageSize - firstKept) != 0)
            std::abort();
    }
    return 0;
}
