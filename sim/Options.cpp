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
           "  --dump FILE            write the unit's 300-byte memory to FILE on SIGUSR1, SIGUSR2\n"
           "                         and at exit, and then a line of the line faults' state and\n"
           "                         counts to FILE.state\n"
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
           "  --hangup-after N       hang up the line after N requests\n"
           "Random faults, thrown from the seed so that a run can be replayed:\n"
           "  --drop-chance P        leave out each reply with chance P (0 to 1)\n"
           "  --corrupt-chance P     spoil the check byte of each reply with chance P\n"
           "  --truncate-chance P    cut each reply short at a random byte with chance P\n"
           "  --garbage-chance P     write 1 to 8 random bytes before each reply with chance P\n"
           "  --flip-chance P        flip one bit of a reply's data with chance P (check byte kept)\n"
           "  --late-chance P        send each reply 150 to 450 ms late with chance P\n"
           "  --silent-burst N       now and then N requests in a row get no answer (a loose\n"
           "  --burst-every S        connector), on average every S seconds (default 30)\n"
           "  --hangup-chance P      with chance P hang up the line instead of a reply; the line\n"
           "                         comes back a second later at the --link path (without\n"
           "                         --link the new device is printed as a further line)\n"
           "  --seed N               seed of the random faults, the speed noise and the road\n"
           "                         ride (default 1)\n"
           "  SIGUSR2 switches the line faults (dropped, spoiled, cut, late and junk-led replies,\n"
           "  silent bursts, hang-ups) off, and the next one on again: a clean line on request.\n"
           "The engine:\n"
           "  --ride NAME            sweep (default): the speed sweeps from idle to the limiter and\n"
           "                           back every 30 s, the throttle waves every 7 s;\n"
           "                         pulls: a motorcycle model that answers to the unit's map\n"
           "                           idles, pulls away and, in 3rd gear, makes full-throttle\n"
           "                           pulls from 3,800 rpm to the limiter, then shuts the\n"
           "                           throttle and coasts down again, over and over;\n"
           "                         road: the same model in mixed riding (stops, pulling away,\n"
           "                           steady, brisk and full throttle, braking, shifts)\n"
           "  --noise RPM            pulls and road: the reported speed is off by up to RPM either\n"
           "                         way, from the seed (default 10; 0 for exact speeds)\n"
           "  --truth FILE           pulls and road: write the model's truth for every pull (full\n"
           "                         throttle in one gear) to FILE, appended after each pull ends:\n"
           "                         a header line, then one line per 250 rpm band the pull crossed\n"
           "                         whole: pull,rpm_from,rpm_to,seconds,torque,engine_torque,advance\n"
           "                         (pull number from 1; time in the band; time-mean torques in N*m\n"
           "                         at the crank: torque is what accelerated the engine and bike,\n"
           "                         engine_torque the engine's own; advance in degrees); and one\n"
           "                         line per map cell the pull rode at full throttle:\n"
           "                         cell,pull,row,column,rpm_from,rpm_to,seconds,advance,best_advance\n"
           "                         (the advance applied and the engine's best advance, time-means\n"
           "                         over the speeds ridden in the cell)\n"
           "  --over-advance-loss X  pulls and road: an engine advanced past its best loses X times\n"
           "                         the torque it loses retarded as far (default 1: symmetric)\n";
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
        auto chance = [&](const char *name, double &out, double low, double high) {
            const char *v = value(name);
            if (!v)
                return false;
            char *end = nullptr;
            const double x = std::strtod(v, &end);
            if (*v == '\0' || *end != '\0' || !(x >= low && x <= high)) {
                error = std::string(name) + ": out of range or not a number: " + v;
                return false;
            }
            out = x;
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
        } else if (arg == "--drop-chance") {
            ok = chance("--drop-chance", o.faults.dropChance, 0, 1);
        } else if (arg == "--corrupt-chance") {
            ok = chance("--corrupt-chance", o.faults.corruptChance, 0, 1);
        } else if (arg == "--truncate-chance") {
            ok = chance("--truncate-chance", o.faults.truncateChance, 0, 1);
        } else if (arg == "--garbage-chance") {
            ok = chance("--garbage-chance", o.faults.garbageChance, 0, 1);
        } else if (arg == "--flip-chance") {
            ok = chance("--flip-chance", o.faults.flipChance, 0, 1);
        } else if (arg == "--late-chance") {
            ok = chance("--late-chance", o.faults.lateChance, 0, 1);
        } else if (arg == "--hangup-chance") {
            ok = chance("--hangup-chance", o.faults.hangupChance, 0, 1);
        } else if (arg == "--silent-burst") {
            ok = number("--silent-burst", o.faults.silentBurst);
        } else if (arg == "--burst-every") {
            ok = chance("--burst-every", o.faults.burstEvery, 0.001, 1e6);
        } else if (arg == "--seed") {
            int seed = 0;
            ok = number("--seed", seed);
            o.faults.seed = o.riding.seed = static_cast<std::uint64_t>(seed);
        } else if (arg == "--ride") {
            const char *v = value("--ride");
            ok = v != nullptr && rideFromName(v, o.riding.ride);
            if (!ok && error.empty())
                error = std::string("--ride: sweep, pulls or road: ") + v;
        } else if (arg == "--noise") {
            ok = number("--noise", o.riding.noiseRpm);
        } else if (arg == "--over-advance-loss") {
            ok = chance("--over-advance-loss", o.riding.overAdvanceLoss, 0.1, 10);
        } else if (arg == "--truth") {
            const char *v = value("--truth");
            ok = v != nullptr;
            if (ok)
                o.truthPath = v;
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
