// Request handling and fault injection of the simulated unit.
#include "UnitModel.h"

#include <algorithm>

namespace vornsim {

namespace {

std::vector<std::uint8_t> sealedReply(std::uint8_t command, const std::uint8_t *data)
{
    Bytes102 f{};
    f[0] = command ^ kAnswerBit;
    std::copy(data, data + kDataBytes, f.begin() + 1);
    seal(f);
    return {f.begin(), f.end()};
}

}  // namespace

Memory UnitModel::factoryMemory(int programVersion)
{
    Memory m{};
    // Block 0: "VRN" + 04, day 12, month code of "Mar" (77 + 97 + 114 = 288, mod 256 = 32),
    // year 24, 14:30.
    m[0] = 'V';
    m[1] = 'R';
    m[2] = 'N';
    m[3] = 4;
    m[4] = 12;
    m[5] = 32;
    m[6] = 24;
    m[7] = 14;
    m[8] = 30;
    m[At::ProgramVersion] = static_cast<std::uint8_t>(programVersion);

    // Block 1: a model with a missing-lobe wheel, two coils, TPS map on.
    const std::uint8_t settings[][2] = {
        {100, 20},  {102, 3},   {103, 12},  {104, 2},   {107, 120}, {109, 10},  {110, 1},
        {111, 1},   {112, 100}, {113, 130}, {115, 1},   {116, 1},   {117, 40},  {118, 1},
        {120, 70},  {121, 129}, {122, 1},   {123, 11},  {124, 11},  {125, 10},  {126, 50},
        {127, 1},   {130, 1},   {131, 7},   {134, 2},   {135, 8},
    };
    for (const auto &s : settings)
        m[s[0]] = s[1];
    for (int k = 0; k < 10; ++k) {
        m[At::ServoRpm + k] = static_cast<std::uint8_t>(k < 2 ? 12 + 8 * k : 10 * (k + 1) + 10);
        m[At::ServoMv + k] = static_cast<std::uint8_t>(100 + 5 * k);
        m[At::RpmAdv + k] = static_cast<std::uint8_t>(10 * (k + 1));
    }
    // Block 2: advance grows with speed and falls off with throttle.
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col)
            m[At::Map + 10 * row + col] = static_cast<std::uint8_t>(std::clamp(12 + 3 * col - row, 0, 60));
    return m;
}

UnitModel::UnitModel(const Faults &faults, const Riding &riding)
    : memory(factoryMemory(faults.programVersion)), faults_(faults), dice_(faults.seed, kFaultDice),
      burstDice_(faults.seed, kFaultDice + 1), spoilDice_(faults.seed, kFaultDice + 2)
{
    if (riding.ride != Ride::Sweep) {
        BikeSpec spec;
        spec.overAdvanceFactor = riding.overAdvanceLoss;
        ride_ = std::make_unique<RideModel>(riding.ride, riding.seed, riding.noiseRpm, spec);
    }
    if (faults_.silentBurst > 0 && faults_.burstEvery > 0)
        nextBurstAt_ = burstDice_.gap(faults_.burstEvery);
}

void UnitModel::runEngine(double seconds)
{
    if (ride_)
        ride_->runTo(seconds, memory);
}

PullTruth UnitModel::takeTruth()
{
    return ride_ ? ride_->takeTruth() : PullTruth{};
}

void UnitModel::setLineFaults(bool on)
{
    lineFaults_ = on;
    burstLeft_ = 0;       // a burst under way ends with the faults
    hangupNow_ = false;
}

bool UnitModel::silentBurstNow(double seconds)
{
    if (faults_.silentBurst <= 0 || faults_.burstEvery <= 0)
        return false;
    if (!lineFaults_) {
        // The bursts keep their own clock, so none is owed when the faults come back.
        while (seconds >= nextBurstAt_)
            nextBurstAt_ += burstDice_.gap(faults_.burstEvery);
        return false;
    }
    if (burstLeft_ == 0 && seconds >= nextBurstAt_) {
        // Bursts start at random, on average burstEvery seconds apart (start to start).
        burstLeft_ = faults_.silentBurst;
        nextBurstAt_ = seconds + burstDice_.gap(faults_.burstEvery);
    }
    if (burstLeft_ == 0)
        return false;
    --burstLeft_;
    return true;
}

std::vector<std::uint8_t> UnitModel::reply(const std::uint8_t *request, double seconds)
{
    if (!sealed(request))
        return {};
    const std::uint8_t command = request[0];
    const std::uint8_t *data = request + 1;
    if (command == kMonitor) {
        if (ride_)
            ride_->runTo(seconds, memory);
        EngineState state = ride_ ? ride_->state(seconds, memory) : engineAt(seconds, memory);
        state.programCount = programCount;
        state.test[2] = static_cast<std::uint16_t>(requests_);
        const Bytes102 f = monitorReply(state);
        return {f.begin(), f.end()};
    }
    const int block = command & 0x3F;
    const int operation = command & 0xC0;
    if (block > 2 || (operation != 0x00 && operation != kReadBase))
        return {};
    std::uint8_t *stored = memory.data() + block * kDataBytes;
    if (operation == kReadBase || block == 0)
        return sealedReply(command, stored);   // a write of block 0 answers with the identification
    std::copy(data, data + kDataBytes, stored);
    if (block == 1 && faults_.wrong101)
        stored[1] = kOwnByte101;
    if (block == 2)
        ++programCount;
    return sealedReply(command, data);   // the echo of what arrived
}

std::vector<LineWrite> UnitModel::answer(const std::uint8_t *request, double seconds)
{
    ++requests_;
    if (faults_.silent)
        return {};
    // A loose connector: the request never arrives.
    if (silentBurstNow(seconds)) {
        ++counts_.silenced;
        return {};
    }
    if (faults_.silentBlocks && request[0] != kMonitor)
        return {};
    std::vector<std::uint8_t> bytes = reply(request, seconds);
    if (bytes.empty())
        return {};
    const int n = ++replies_;
    // Three throws for every reply whichever chances are set, so that setting one chance
    // does not change when another one strikes.
    const double dropThrow = dice_.uniform(), corruptThrow = dice_.uniform(), hangupThrow = dice_.uniform();
    const bool faulty = lineFaults_;
    if (faulty && hangupThrow < faults_.hangupChance) {
        ++counts_.hangups;
        hangupNow_ = true;   // the request was taken, its reply never leaves
        return {};
    }
    if (faulty && ((faults_.dropEvery > 0 && n % faults_.dropEvery == 0) || dropThrow < faults_.dropChance)) {
        ++counts_.dropped;
        return {};
    }
    if (faulty && ((faults_.corruptEvery > 0 && n % faults_.corruptEvery == 0) || corruptThrow < faults_.corruptChance)) {
        ++counts_.corrupted;
        bytes.back() ^= 0x01;
    }
    // The same number of throws for every reply here too, from a stream of their own, so
    // that runs with only the faults above replay as before.
    const double truncateThrow = spoilDice_.uniform(), garbageThrow = spoilDice_.uniform(),
                 flipThrow = spoilDice_.uniform(), lateThrow = spoilDice_.uniform();
    const int cutAt = spoilDice_.between(1, static_cast<int>(bytes.size()) - 1);
    const int garbageCount = spoilDice_.between(1, 8);
    const std::uint64_t garbageBits = spoilDice_.next();
    const int flipAt = spoilDice_.between(1, static_cast<int>(kDataBytes));
    const int flipBit = spoilDice_.between(0, 7);
    const int lateMs = spoilDice_.between(150, 450);
    if (faulty && flipThrow < faults_.flipChance) {
        ++counts_.flipped;
        bytes[static_cast<std::size_t>(flipAt)] ^= static_cast<std::uint8_t>(1u << flipBit);
    }
    if (faulty && truncateThrow < faults_.truncateChance) {
        ++counts_.truncated;
        bytes.resize(static_cast<std::size_t>(cutAt));
    }

    std::vector<LineWrite> writes;
    int delay = faults_.delayMs;
    if (faulty && lateThrow < faults_.lateChance) {
        ++counts_.late;
        delay += lateMs;
    }
    if (faulty && faults_.strayEvery > 0 && n % faults_.strayEvery == 0) {
        ++counts_.stray;
        writes.push_back({std::vector<std::uint8_t>(static_cast<std::size_t>(faults_.strayCount), strayByte_), delay});
        delay = 0;
    }
    if (faulty && garbageThrow < faults_.garbageChance) {
        ++counts_.garbage;
        std::vector<std::uint8_t> junk(static_cast<std::size_t>(garbageCount));
        for (std::size_t i = 0; i < junk.size(); ++i)
            junk[i] = static_cast<std::uint8_t>(garbageBits >> (8 * i));
        writes.push_back({std::move(junk), delay});
        delay = 0;
    }
    if (faults_.split && bytes.size() > 1) {
        const auto half = bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2);
        writes.push_back({{bytes.begin(), half}, delay});
        writes.push_back({{half, bytes.end()}, faults_.splitGapMs});
    } else {
        writes.push_back({std::move(bytes), delay});
    }
    return writes;
}

}  // namespace vornsim
