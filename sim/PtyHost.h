// Plays the unit model on the master side of a pseudo-terminal.
#pragma once

#include "Options.h"
#include "UnitModel.h"

#include <csignal>
#include <cstdio>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vornsim {

class PtyHost {
public:
    PtyHost(UnitModel &unit, const Options &options) : unit_(unit), options_(options) {}
    ~PtyHost();

    // Creates the pseudo-terminal in raw mode and starts the clock; false with `error` set
    // on failure.
    bool open(std::string &error);
    const std::string &devicePath() const { return slavePath_; }

    // Points the --link path at the device (replacing an old link, never a real file), and
    // removes it again if it still points there.
    bool makeLink(std::string &error);
    void removeLink() const;

    // Starts the --truth file with its header.
    bool startTruth(std::string &error) const;

    // Serves requests until `stop` is set, the peer has gone for good or the unit hangs up.
    // `dumpNow` asks for a memory dump; it is cleared when done.
    void run(const volatile std::sig_atomic_t &stop, volatile std::sig_atomic_t &dumpNow);

    bool writeDump() const;

private:
    bool openLine(std::string &error);
    void keepEngineGoing(double now);
    void hangUp(double now);
    bool comeBack(std::string &error);
    void noteSent(const std::vector<LineWrite> &writes) const;
    struct Pending {
        double due;
        std::vector<std::uint8_t> bytes;
    };
    void receive(double now);
    void sendDue(double now);
    void traceMonitorReply(const std::vector<std::uint8_t> &bytes);

    UnitModel &unit_;
    const Options &options_;
    int master_ = -1;
    std::FILE *trace_ = nullptr;
    std::string slavePath_;
    std::vector<std::uint8_t> partial_;
    double lastByteAt_ = 0;
    std::deque<Pending> pending_;
    double start_ = 0;
    double downUntil_ = 0;   // after a thrown hang-up: when the line comes back
};

double monotonicSeconds();

}  // namespace vornsim
