// Pull detection over a one-hour log (about 11,000 rows at 330 ms): a ride of full-throttle
// pulls from 3,800 rpm to the limiter, each followed by coasting and idling, with ±10 rpm on
// the speed. Prints the median time of findPulls over the whole log and the pulls it found.
#include "BenchSupport.h"
#include "datalog/Pulls.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/resource.h>
#include <vector>

namespace {

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

std::vector<vorn::LogRow> oneHour()
{
    std::vector<vorn::LogRow> rows;
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> noise(-10, 10);
    std::int64_t t = 0;
    auto add = [&](double rpm, int throttle, bool blocking) {
        vorn::LogRow r;
        r.timeMs = t;
        r.rpm = static_cast<int>(std::lround(rpm + noise(rng)));
        r.throttlePercent = throttle;
        r.blocking = blocking;
        rows.push_back(r);
        t += 330;
    };
    while (t < 3600 * 1000) {
        for (int i = 0; i < 6; ++i)
            add(1500, 5, false);
        double rpm = 3800;
        while (rpm < 12500) {
            add(rpm, 100, false);
            const double x = (rpm - 9000) / 3000;
            rpm += 0.33 * 1300 * (1 + 0.35 * std::exp(-x * x));
        }
        add(12500, 100, true);
        for (rpm = 12200; rpm > 1500; rpm -= 400)
            add(rpm, 0, false);
    }
    return rows;
}

}  // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::vector<vorn::LogRow> rows = oneHour();
    std::size_t pulls = 0;
    const double cpuBefore = cpuMs();
    const double us = bench::medianUs(rounds, [&](int) { pulls = vorn::findPulls(rows).size(); });
    // The CPU time too: on a busy machine the wall-clock median counts other programs' turns.
    const double cpu = (cpuMs() - cpuBefore) / rounds;
    std::printf("pull_rows %zu\npulls_found %zu\npull_detection_ms %.2f\npull_detection_cpu_ms %.2f\n", rows.size(),
                pulls, us / 1000, cpu);
    return 0;
}
