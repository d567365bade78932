// Seeded random numbers for the simulator: the same seed gives the same throws on every
// machine and library (the standard distributions are not the same everywhere), so a fault
// or a noisy ride can be replayed.
#pragma once

#include <cmath>
#include <cstdint>

namespace vornsim {

class Dice {
public:
    // `stream` keeps the users of one seed apart: the faults do not shift when the speed
    // noise is switched on, and the other way round.
    explicit Dice(std::uint64_t seed = 1, std::uint64_t stream = 0) : state_(seed * 0x9E3779B97F4A7C15ull ^ stream) {}

    // splitmix64
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Uniform whole number in [low, high].
    int between(int low, int high) { return low + static_cast<int>(uniform() * (high - low + 1)); }
    double between(double low, double high) { return low + uniform() * (high - low); }
    // Exponentially distributed with this mean: the gaps of events that come at random.
    double gap(double mean) { return -mean * std::log(1.0 - uniform()); }

private:
    std::uint64_t state_;
};

// Stream numbers of the simulator's users of the seed.
enum DiceStream : std::uint64_t { kFaultDice = 0x6661756c74, kNoiseDice = 0x6e6f697365, kRideDice = 0x72696465 };

}  // namespace vornsim
