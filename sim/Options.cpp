// Parsing the options of vorn4-sim.
#include "Options.h"

#include <cstdlib>
#include <cstring>

namespace vornsim {

const char *usageText()
{
    return "usage: vorn4-sim [options]\n"
           "Plays a VORN-4 ignition unit on a pseudo-terminal and prints the device path on\n"
           "its first line of output. Ends on SIGTERM, or when the program on the other end\n"
           "has closed the device and not reopened it within the linger time.\n"
           "  --link PATH            also make PATH a symlink to the device\n"
           "  --dump FILE            write the unit's 300-byte memory to FILE on SIGUSR1 and at exit\n"
           "  --trace FILE           write \"rpm,throttle_percent\" of every monitor reply sent to FILE\n"
           "  --sent FILE            append a line per reply sent: command byte in hex, then for a\n"
           "                         live-monitor reply its rpm, throttle percent and throttle counts\n"
           "  --linger SECONDS       wait after the peer closed (default 2)\n"
           "  --program-version N    report program version N in block 0 (default 40)\n"
           "  --silent               never answer\n"
           "  --silent-blocks        answer only live-monitor requests\n"
           "  --drop-every N         leave out every N-th reply\n"
           "  --corrupt-every N      spoil the check byte of every N-th reply\n"
           "  --delay MS             send each reply MS milliseconds late\n"
           "  --split                send each reply in two writes\n"
           "  --stray-every N        write junk bytes just before every N-th reply\n"
           "  --stray-count K        that many junk bytes (default 5)\n"
           "  --wrong-101            keep an own value in reserved byte 101 of block 1\n"
           "  --hangup-after N       hang up the line after N requests\n";
}

bool parseOptions(int argc, char **argv, Options &o, std::string &error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char *name) -> const char * {
            if (i + 1 >= argc) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        auto number = [&](const char *name, int &out) {
            const char *v = value(name);
            if (!v)
                return false;
            char *end = nullptr;
            const long n = std::strtol(v, &end, 10);
            if (*v == '\0' || *end != '\0' || n < 0 || n > 1000000) {
                error = std::string(name) + ": not a number: " + v;
                return false;
            }
            out = static_cast<int>(n);
            return true;
        };
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--link") {
            const char *v = value("--link");
            ok = v != nullptr;
            if (ok)
                o.linkPath = v;
        } else if (arg == "--dump") {
            const char *v = value("--dump");
            ok = v != nullptr;
            if (ok)
                o.dumpPath = v;
        } else if (arg == "--trace") {
            const char *v = value("--trace");
            ok = v != nullptr;
            if (ok)
                o.tracePath = v;
        } else if (arg == "--sent") {
            const char *v = value("--sent");
            ok = v != nullptr;
            if (ok)
                o.sentPath = v;
        } else if (arg == "--linger") {
            int seconds = 0;
            ok = number("--linger", seconds);
            o.lingerSeconds = seconds;
        } else if (arg == "--program-version") {
            ok = number("--program-version", o.faults.programVersion) && o.faults.programVersion <= 255;
            if (!ok && error.empty())
                error = "--program-version: 0 to 255";
        } else if (arg == "--silent") {
            o.faults.silent = true;
        } else if (arg == "--silent-blocks") {
            o.faults.silentBlocks = true;
        } else if (arg == "--drop-every") {
            ok = number("--drop-every", o.faults.dropEvery);
        } else if (arg == "--corrupt-every") {
            ok = number("--corrupt-every", o.faults.corruptEvery);
        } else if (arg == "--delay") {
            ok = number("--delay", o.faults.delayMs);
        } else if (arg == "--split") {
            o.faults.split = true;
        } else if (arg == "--stray-every") {
            ok = number("--stray-every", o.faults.strayEvery);
        } else if (arg == "--stray-count") {
            ok = number("--stray-count", o.faults.strayCount);
        } else if (arg == "--wrong-101") {
            o.faults.wrong101 = true;
        } else if (arg == "--hangup-after") {
            ok = number("--hangup-after", o.faults.hangupAfter);
        } else {
            error = "unknown option: " + arg;
            ok = false;
        }
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace vornsim
