// The simulated ignition unit: its memory, its answers to request frames and the faults it
// can be told to show. Plain C++; the pty host and the tests drive it.
#pragma once

#include "Dice.h"
#include "Engine.h"
#include "Protocol.h"
#include "RideModel.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vornsim {

// Misbehaviour on request. Counters are 1-based: dropEvery 3 drops the 3rd, 6th ... reply.
// The chances are thrown for every reply from the seed, so a run can be replayed.
struct Faults {
    int programVersion = 40;   // block 0 byte 10
    bool silent = false;       // never answers
    bool silentBlocks = false; // answers only monitor requests
    int dropEvery = 0;
    int corruptEvery = 0;      // flips the check byte of every n-th reply
    int delayMs = 0;           // each reply leaves this late
    bool split = false;        // each reply in two writes
    int splitGapMs = 15;
    int strayEvery = 0;        // junk bytes written just before every n-th reply
    int strayCount = 5;
    bool wrong101 = false;     // keeps its own value in reserved byte 101 when block 1 is stored
    int hangupAfter = 0;       // hangs up the line after this many request frames
    double dropChance = 0;     // each reply left out with this chance
    double corruptChance = 0;  // each reply's check byte spoiled with this chance
    double hangupChance = 0;   // the line hangs up instead of each reply with this chance
    double truncateChance = 0; // a reply cut short at a random byte, the rest never sent
    double garbageChance = 0;  // 1 to 8 random bytes written just before a reply
    double flipChance = 0;     // one bit of a data byte flipped, the check byte as it was
    double lateChance = 0;     // a reply left 150 to 450 ms late, past the program's time-out
    int silentBurst = 0;       // now and then this many requests in a row get no answer,
    double burstEvery = 30;    // on average every this many seconds
    std::uint64_t seed = 1;
};

// What the engine does, and the seed and size of the noise on the reported speed.
struct Riding {
    Ride ride = Ride::Sweep;
    std::uint64_t seed = 1;
    int noiseRpm = 10;
    double overAdvanceLoss = 1;   // the engine's over-advance loss as a multiple of its retard loss
};

constexpr std::uint8_t kOwnByte101 = 0xA5;

// One write to the line, `afterMs` after the previous write of the same answer (or after
// the request, for the first).
struct LineWrite {
    std::vector<std::uint8_t> bytes;
    int afterMs = 0;
};

class UnitModel {
public:
    explicit UnitModel(const Faults &faults = {}, const Riding &riding = {});

    // The unit's parameter memory in the program's image layout: block 0 its
    // identification, blocks 1 and 2 what was last stored.
    Memory memory;
    std::uint16_t programCount = 17;

    // Answers one complete 102-byte request arriving `seconds` after start.
    // Returns the writes to make; empty when the unit stays silent.
    std::vector<LineWrite> answer(const std::uint8_t *request, double seconds);

    // The clean reply to a request, before any fault is applied; empty if none is due.
    std::vector<std::uint8_t> reply(const std::uint8_t *request, double seconds);

    bool hangupDue() const { return faults_.hangupAfter > 0 && requests_ >= faults_.hangupAfter; }
    // A hang-up thrown by hangupChance: true once; the line goes and comes back.
    bool takeHangup() { return std::exchange(hangupNow_, false); }

    // Keeps the pulls or road ride going on the simulator's clock (the sweep needs nothing).
    void runEngine(double seconds);
    // The truth of the pulls finished since the last call (pulls and road rides).
    PullTruth takeTruth();
    int requests() const { return requests_; }
    int replies() const { return replies_; }

    // A clean line on request: while off, no reply is dropped, spoiled, preceded by junk or
    // silenced, and the line does not hang up. What the unit is (its program version, its
    // own byte 101, a dead unit) and the timing of its replies stay as they are.
    void setLineFaults(bool on);
    bool lineFaults() const { return lineFaults_; }
    // What the line faults did so far, so that a soak can tell a silent unit from a spoiled line.
    struct FaultCounts {
        int dropped = 0, corrupted = 0, stray = 0, silenced = 0, hangups = 0;
        int truncated = 0, garbage = 0, flipped = 0, late = 0;
        int total() const { return dropped + corrupted + stray + silenced + hangups + truncated + garbage + flipped + late; }
    };
    const FaultCounts &faultCounts() const { return counts_; }

    // The memory the unit starts with: identification "VRN04", program version from the
    // faults, 12 March 2024 14:30, and settings and a map that a program keeps unchanged.
    static Memory factoryMemory(int programVersion);

private:
    bool silentBurstNow(double seconds);

    Faults faults_;
    std::unique_ptr<RideModel> ride_;   // none for the sweep
    Dice dice_;                         // chances of each reply
    Dice burstDice_;                    // gaps between silent bursts
    Dice spoilDice_;                    // cut, junk-led, flipped and late replies
    double nextBurstAt_ = 0;
    int burstLeft_ = 0;
    bool hangupNow_ = false;
    bool lineFaults_ = true;
    FaultCounts counts_;
    int requests_ = 0;
    int replies_ = 0;
    std::uint8_t strayByte_ = 0x5A;
};

}  // namespace vornsim
