// The 300-byte parameter image of the ignition unit, its byte layout, encodings and clamping.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vorn {

constexpr int kImageSize = 300;
constexpr int kBlockSize = 100;
constexpr int kBlockCount = 3;
constexpr int kChannels = 4;
constexpr int kMapSize = 10;   // 10 throttle rows x 10 speed columns, also 10 servo points
// BikeCode of "Special - (manual seting)": synchronisation set by hand, up to four channels.
constexpr std::uint8_t kSpecialBikeCode = 22;

// Image offsets of the interpreted fields. Block 0 is the unit's identification,
// block 1 the settings, block 2 the advance map (row r, column k at 200 + 10 r + k).
namespace Off {
// block 0: identification as reported by the unit
constexpr int VersionName = 0;     // 3 characters
constexpr int VersionNumber = 3;   // shown as two digits after the name
constexpr int Day = 4;
constexpr int MonthCode = 5;       // sum of the month abbreviation's characters, mod 256
constexpr int Year = 6;            // two digits after "20"
constexpr int Hour = 7;
constexpr int Minute = 8;
constexpr int ProgramVersion = 10; // this tool talks only to version 40
constexpr int FreeText = 16;       // 30 characters, replaces the name when non-zero
constexpr int FreeTextLength = 30;
// block 1: settings
constexpr int BikeCode = 100;
constexpr int Reserved101 = 101;   // not compared by Verify
constexpr int SyncMethod = 102;
constexpr int LobeCount = 103;
constexpr int OutputCount = 104;
constexpr int PilotLight = 107;
constexpr int InverseInput = 108;
constexpr int BaseAdv = 109;
constexpr int RevsWithoutIgnition = 110;
constexpr int RpmPulses = 111;
constexpr int RpmCorrection = 112;
constexpr int Limiter2 = 113;
constexpr int Excitation = 115;
constexpr int ServoEnable = 116;
constexpr int ServoHyster = 117;
constexpr int ActBlok1 = 118;
constexpr int Tps0 = 120;
constexpr int Tps100 = 121;
constexpr int TpsMap = 122;
constexpr int Compensation1 = 123;
constexpr int Compensation2 = 124;
constexpr int ClutchTime = 125;
constexpr int ClutchPause = 126;
constexpr int ActClutch = 127;
constexpr int MaxAdvLobe = 130;      // + channel index 0..3
constexpr int StartAdvLobe = 134;
constexpr int MaxAdvEdge2 = 138;
constexpr int StartAdvEdge2 = 142;
constexpr int MaxAdvPickup2 = 146;
constexpr int StartAdvPickup2 = 150;
constexpr int ServoRpm = 170;        // + point index 0..9
constexpr int ServoMv = 180;
constexpr int RpmAdv = 190;          // + column index 0..9
// block 2
constexpr int Advance = 200;         // + 10 * row + column
}  // namespace Off

// How a byte maps to the physical value the window shows.
enum class Encoding {
    Rpm100,          // rpm / 100
    Mv10,            // mV / 10
    Mv10Minus250,    // mV / 10 - 250 (byte = low 8 bits of mV / 10 + 6)
    Mv20,            // mV / 20
    Mv5,             // mV / 5
    Ms10,            // ms / 10
    PercentPlus100,  // percent + 100
    Plain,           // degrees, counts, raw values, indexes, codes
    Flag,            // 1 on, 0 off; any non-zero byte reads as on
};

// Physical value shown for byte b.
int physicalFromByte(Encoding e, std::uint8_t b);
// Byte stored for physical value v: divisions truncate toward zero, the byte is the low 8 bits.
std::uint8_t byteFromPhysical(Encoding e, int v);

class ParameterImage {
public:
    std::array<std::uint8_t, kImageSize> bytes{};

    std::uint8_t &operator[](int offset) { return bytes[static_cast<std::size_t>(offset)]; }
    std::uint8_t operator[](int offset) const { return bytes[static_cast<std::size_t>(offset)]; }

    std::span<std::uint8_t, kBlockSize> block(int b)
    {
        return std::span<std::uint8_t, kBlockSize>(bytes.data() + b * kBlockSize, kBlockSize);
    }
    std::span<const std::uint8_t, kBlockSize> block(int b) const
    {
        return std::span<const std::uint8_t, kBlockSize>(bytes.data() + b * kBlockSize, kBlockSize);
    }

    // Named fields. Arrays take a channel (0..3), point or column (0..9), row (0..9).
    std::uint8_t &bikeCode() { return (*this)[Off::BikeCode]; }
    std::uint8_t &syncMethod() { return (*this)[Off::SyncMethod]; }
    std::uint8_t &lobeCount() { return (*this)[Off::LobeCount]; }
    std::uint8_t &outputCount() { return (*this)[Off::OutputCount]; }
    std::uint8_t &pilotLight() { return (*this)[Off::PilotLight]; }
    std::uint8_t &inverseInput() { return (*this)[Off::InverseInput]; }
    std::uint8_t &baseAdv() { return (*this)[Off::BaseAdv]; }
    std::uint8_t &revsWithoutIgnition() { return (*this)[Off::RevsWithoutIgnition]; }
    std::uint8_t &rpmPulses() { return (*this)[Off::RpmPulses]; }
    std::uint8_t &rpmCorrection() { return (*this)[Off::RpmCorrection]; }
    std::uint8_t &limiter2() { return (*this)[Off::Limiter2]; }
    std::uint8_t &excitation() { return (*this)[Off::Excitation]; }
    std::uint8_t &servoEnable() { return (*this)[Off::ServoEnable]; }
    std::uint8_t &servoHyster() { return (*this)[Off::ServoHyster]; }
    std::uint8_t &actBlok1() { return (*this)[Off::ActBlok1]; }
    std::uint8_t &tps0() { return (*this)[Off::Tps0]; }
    std::uint8_t &tps100() { return (*this)[Off::Tps100]; }
    std::uint8_t &tpsMap() { return (*this)[Off::TpsMap]; }
    std::uint8_t &compensation1() { return (*this)[Off::Compensation1]; }
    std::uint8_t &compensation2() { return (*this)[Off::Compensation2]; }
    std::uint8_t &clutchTime() { return (*this)[Off::ClutchTime]; }
    std::uint8_t &clutchPause() { return (*this)[Off::ClutchPause]; }
    std::uint8_t &actClutch() { return (*this)[Off::ActClutch]; }
    std::uint8_t &maxAdvLobe(int ch) { return (*this)[Off::MaxAdvLobe + ch]; }
    std::uint8_t &startAdvLobe(int ch) { return (*this)[Off::StartAdvLobe + ch]; }
    std::uint8_t &maxAdvEdge2(int ch) { return (*this)[Off::MaxAdvEdge2 + ch]; }
    std::uint8_t &startAdvEdge2(int ch) { return (*this)[Off::StartAdvEdge2 + ch]; }
    std::uint8_t &maxAdvPickup2(int ch) { return (*this)[Off::MaxAdvPickup2 + ch]; }
    std::uint8_t &startAdvPickup2(int ch) { return (*this)[Off::StartAdvPickup2 + ch]; }
    std::uint8_t &servoRpm(int p) { return (*this)[Off::ServoRpm + p]; }
    std::uint8_t &servoMv(int p) { return (*this)[Off::ServoMv + p]; }
    std::uint8_t &rpmAdv(int k) { return (*this)[Off::RpmAdv + k]; }
    std::uint8_t &advance(int row, int col) { return (*this)[Off::Advance + 10 * row + col]; }

    bool operator==(const ParameterImage &) const = default;
};

// Forces the image into its legal ranges; also sanitises the language index (0..3)
// and the COM port number (0..10) that live beside it. Never fails, never reports.
void ClampParameters(ParameterImage &image, std::uint8_t &languageIndex, std::uint8_t &comPort);

}  // namespace vorn
