// vorn4-sim: a simulated VORN-4 ignition unit on a pseudo-terminal, for tests and demos.
#include "Options.h"
#include "PtyHost.h"
#include "UnitModel.h"

#include <csignal>
#include <cstdio>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_dump = 0;
volatile std::sig_atomic_t g_toggles = 0;

void onStop(int)
{
    g_stop = 1;
}

void onDump(int)
{
    g_dump = 1;
}

void onToggle(int)
{
    // Counted, not flagged: two switches between two looks of the loop cancel out.
    g_toggles = g_toggles + 1;
}

void install(int signal, void (*handler)(int))
{
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;   // no restart: a signal ends the current poll at once
    sigaction(signal, &sa, nullptr);
}

}  // namespace

int main(int argc, char **argv)
{
    vornsim::Options options;
    std::string error;
    if (!vornsim::parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "vorn4-sim: %s\n%s", error.c_str(), vornsim::usageText());
        return 2;
    }
    if (options.help) {
        std::fputs(vornsim::usageText(), stdout);
        return 0;
    }
    install(SIGTERM, onStop);
    install(SIGINT, onStop);
    install(SIGHUP, onStop);
    install(SIGUSR1, onDump);
    install(SIGUSR2, onToggle);
    std::signal(SIGPIPE, SIG_IGN);

    vornsim::UnitModel unit(options.faults, options.riding);
    vornsim::PtyHost host(unit, options);
    if (!host.open(error)) {
        std::fprintf(stderr, "vorn4-sim: %s\n", error.c_str());
        return 1;
    }
    if (!host.makeLink(error) || !host.startTruth(error)) {
        std::fprintf(stderr, "vorn4-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", host.devicePath().c_str());
    std::fflush(stdout);

    host.run(g_stop, g_dump, g_toggles);

    const bool dumped = host.writeDump();
    host.removeLink();
    return dumped ? 0 : 1;
}
