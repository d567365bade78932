// vorn4-sim: a simulated VORN-4 ignition unit on a pseudo-terminal, for tests and demos.
#include "Options.h"
#include "PtyHost.h"
#include "UnitModel.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_dump = 0;

void onStop(int)
{
    g_stop = 1;
}

void onDump(int)
{
    g_dump = 1;
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
    std::signal(SIGPIPE, SIG_IGN);

    vornsim::UnitModel unit(options.faults);
    vornsim::PtyHost host(unit, options);
    if (!host.open(error)) {
        std::fprintf(stderr, "vorn4-sim: %s\n", error.c_str());
        return 1;
    }
    if (!options.linkPath.empty()) {
        // Replace an old link of ours, never a real file.
        char target[4096];
        if (readlink(options.linkPath.c_str(), target, sizeof target) >= 0)
            unlink(options.linkPath.c_str());
        if (symlink(host.devicePath().c_str(), options.linkPath.c_str()) != 0) {
            std::perror(("vorn4-sim: cannot make the link " + options.linkPath).c_str());
            return 1;
        }
    }
    std::printf("%s\n", host.devicePath().c_str());
    std::fflush(stdout);

    host.run(g_stop, g_dump);

    const bool dumped = host.writeDump();
    if (!options.linkPath.empty()) {
        char target[4096];
        const ssize_t n = readlink(options.linkPath.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == host.devicePath())
            unlink(options.linkPath.c_str());
    }
    return dumped ? 0 : 1;
}
