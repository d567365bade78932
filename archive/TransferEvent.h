// Which event a transfer between the program and the unit leaves in the archive: the same
// for the window and for vorn4-cli, so that both kinds of bench read alike in a shared archive.
#pragma once

#include "ArchiveRecords.h"
#include "lang/Jazyk2.h"

#include <optional>

namespace vorn {

// What is known when a transfer has ended.
struct TransferEnd {
    EventKind kind = EventKind::Read;
    std::optional<Msg> error;                   // nothing when it ended " OK"
    std::optional<ParameterImage> image;        // the image the transfer read or sent, once there is one
    bool unitKnown = false;                     // block 0 arrived, so the identification is the unit's
    std::optional<ParameterImage> unitReplied;  // a failed verify: what the unit sent back, when whole
    std::optional<ParameterImage> madeFrom;     // a program: the tune the one sent was made from
    std::optional<int> programCount;
};

EventInput transferEvent(const TransferEnd &end);

}  // namespace vorn
