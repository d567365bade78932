// Command-line options of vorn4-sim.
#pragma once

#include "UnitModel.h"

#include <string>

namespace vornsim {

struct Options {
    Faults faults;
    Riding riding;
    std::string linkPath;      // symlink to the slave device, made at start, removed at exit
    std::string dumpPath;      // memory dump (300 bytes) written on SIGUSR1 and at exit
    std::string tracePath;     // one line "rpm,throttle_percent" per monitor reply put on the line
    std::string sentPath;      // one line per reply put on the line (see usageText)
    std::string truthPath;     // the model's truth of every pull (see usageText)
    double lingerSeconds = 2;  // how long to wait for the peer to come back after it closed
    bool help = false;
};

// Parses argv; on a bad option returns false and sets `error`.
bool parseOptions(int argc, char **argv, Options &options, std::string &error);

const char *usageText();

}  // namespace vornsim
