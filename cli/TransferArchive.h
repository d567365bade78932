// The archive as read, program and verify use it: the event goes into the bench's file
// before the result is printed, the server gets it after; neither changes the exit status.
#pragma once

#include "Commands.h"
#include "archive/ArchiveRecords.h"

#include <memory>

namespace vorn {
class ArchiveStore;
class ServerProbe;
struct ArchiveConfig;
}

namespace vorn::cli {

class TransferArchive {
public:
    explicit TransferArchive(const Invocation &in);
    ~TransferArchive();

    // Appends the event; its id, or empty after one line on stderr saying why not.
    QString record(const EventInput &event);
    // Sends what is waiting when a server is set and answers in time; one line on stderr
    // when it cannot ("archive server not reachable; kept here, 3 events waiting").
    void sync();

private:
    const Invocation &in_;
    std::unique_ptr<ArchiveConfig> config_;
    std::unique_ptr<ServerProbe> probe_;
    std::unique_ptr<ArchiveStore> store_;
    bool said_ = false;
};

}  // namespace vorn::cli
