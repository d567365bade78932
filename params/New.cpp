// Motorcycle model table, trigger presets and the default parameter set.
#include "New.h"

#include <algorithm>

namespace vorn {

namespace {

// Compact preset notation: lobe number, E = second edge, P = second pick-up.
constexpr LobeEvent ev(std::uint8_t lobe, bool edge2 = false, bool pickup2 = false)
{
    return LobeEvent{lobe, edge2, pickup2};
}
constexpr LobeEvent E(std::uint8_t lobe) { return ev(lobe, true); }
constexpr LobeEvent EP(std::uint8_t lobe) { return ev(lobe, true, true); }
constexpr LobeEvent P(std::uint8_t lobe) { return ev(lobe, false, true); }
constexpr ChannelPreset ch(LobeEvent maxAdv, LobeEvent startAdv) { return {maxAdv, startAdv}; }
constexpr ChannelPreset none{};

constexpr BikeModel preset(std::uint8_t code, std::uint8_t sync, std::uint8_t lobes,
                           std::uint8_t outputs, ChannelPreset c1, ChannelPreset c2,
                           ChannelPreset c3 = none, ChannelPreset c4 = none)
{
    return BikeModel{code, true, sync, lobes, outputs, {c1, c2, c3, c4}};
}

const std::array<BikeModel, kBikeListSize> kModels = {{
    preset(23, 1, 4, 3, ch(ev(1), E(1)), ch(ev(2), E(2)), ch(ev(3), E(3))),  // Kawasaki 3 Cyl
    preset(0, 1, 3, 2, ch(ev(1), E(1)), ch(ev(2), E(2))),                    // Kawasaki ZX h
    preset(1, 4, 7, 2, ch(ev(2), E(3)), ch(ev(6), E(7))),                    // Honda CBR 7P
    preset(2, 3, 9, 2, ch(ev(1), E(3)), ch(ev(7), E(9))),                    // Honda CBR 9P
    preset(3, 3, 9, 2, ch(ev(6), ev(7)), ch(ev(8), ev(9))),                  // Honda Shadow
    preset(4, 4, 7, 2, ch(ev(4), E(5)), ch(ev(6), E(7))),                    // Honda VFR 400
    preset(24, 4, 11, 4, ch(ev(4), ev(5)), ch(ev(7), ev(8)), ch(ev(10), ev(11)),
           ch(ev(1), ev(2))),                                                // Honda VFR 750
    preset(5, 4, 7, 2, ch(E(1), E(2)), ch(EP(5), EP(6))),                    // Honda VT 600 Shadow
    preset(6, 4, 7, 2, ch(ev(3), E(4)), ch(ev(4), E(5))),                    // Honda VT 1100
    preset(7, 0, 1, 2, ch(ev(1), E(1)), ch(P(1), EP(1))),                    // Standard, 1 lobe
    preset(8, 3, 4, 2, ch(ev(1), ev(2)), ch(ev(3), ev(4))),                  // Suzuki 800
    preset(9, 2, 6, 2, ch(ev(1), ev(2)), ch(ev(4), ev(5))),                  // Suzuki GSF 400 A
    preset(10, 2, 6, 2, ch(ev(2), ev(3)), ch(ev(5), ev(6))),                 // Suzuki GSF 400 B
    preset(11, 2, 4, 2, ch(ev(4), ev(1)), ch(ev(2), ev(3))),                 // Suzuki GSX
    preset(12, 2, 4, 2, ch(ev(4), ev(1)), ch(ev(1), ev(2))),                 // Suzuki SV 650
    preset(13, 3, 4, 2, ch(ev(2), ev(3)), ch(ev(3), ev(4))),                 // Suzuki Tci 125
    preset(14, 2, 4, 2, ch(ev(1), ev(2)), ch(ev(4), ev(1))),                 // Suzuki VS 800
    preset(15, 2, 4, 2, ch(ev(3), ev(4)), ch(ev(4), ev(1))),                 // TDM 850
    preset(26, 5, 7, 3, ch(ev(2), ev(3)), ch(ev(4), ev(5)), ch(ev(6), ev(1))),  // Triumph Tigra
    preset(16, 3, 2, 2, ch(ev(1), E(1)), ch(ev(2), E(2))),                   // Virago XV
    preset(17, 4, 2, 2, ch(ev(2), EP(1)), ch(EP(1), EP(2))),                 // Yamaha 125 SR
    preset(18, 2, 8, 2, ch(ev(3), ev(4)), ch(ev(7), ev(8))),                 // Yamaha Fz 750
    preset(19, 2, 4, 2, ch(ev(3), ev(4)), ch(ev(1), ev(2))),                 // Yamaha R1
    preset(20, 1, 5, 2, ch(E(1), E(2)), ch(E(3), E(4))),                     // Yamaha R6
    preset(21, 2, 4, 2, ch(ev(4), ev(1)), ch(ev(2), ev(3))),                 // Yamaha XT600E (as GSX)
    preset(25, 1, 7, 4, ch(E(1), E(2)), ch(E(2), E(3)), ch(E(4), E(5)),
           ch(E(5), E(6))),                                                  // Yamaha XVZ 1300
    BikeModel{kSpecialBikeCode, false, 0, 0, 0, {}},                         // Special
}};

// Default advance map in degrees, throttle rows 0 %..100 % by speed columns 1..10.
constexpr std::uint8_t kDefaultMap[kMapSize][kMapSize] = {
    {4, 13, 16, 25, 28, 32, 33, 33, 33, 33},
    {4, 16, 22, 31, 33, 35, 35, 35, 35, 35},
    {4, 24, 35, 44, 45, 45, 43, 41, 41, 41},
    {4, 19, 32, 39, 45, 47, 46, 43, 43, 43},
    {4, 12, 15, 25, 31, 33, 32, 32, 32, 31},
    {4, 12, 16, 25, 28, 30, 33, 32, 32, 32},
    {4, 12, 16, 25, 28, 30, 33, 31, 33, 31},
    {4, 12, 15, 25, 28, 30, 32, 32, 32, 32},
    {4, 12, 15, 25, 28, 30, 32, 32, 32, 32},
    {4, 12, 15, 25, 28, 30, 32, 32, 32, 32},
};

constexpr std::uint8_t kDefaultServoRpm[kMapSize] = {12, 20, 30, 40, 60, 80, 100, 120, 140, 160};

// The model list as the window fills it; the caption step translates entries 9 and 26.
const char *const kBikeListTexts[] = {
    "Kawasaki 3 Cyl",     "Kawasaki ZX h",   "Honda CBR 7P",
    "Honda CBR 9P",       "Honda Shadow",    "Honda VFR 400",
    "Honda VFR 750",      "Honda VT 600 Shadow", "Honda VT 1100",
    "Standard (1 lobe, 1 or 2 pick-up) ", "Suzuki 800", "Suzuki GSF 400 A",
    "Suzuki GSF 400 B",   "Suzuki GSX",      "Suzuki SV 650",
    "Suzuki Tci 125",     "Suzuki VS 800,",  "TDM 850",
    "Triumph Tigra",      "Virago XV",       "Yamaha 125 SR",
    "Yamaha Fz 750",      "Yamaha R1",       "Yamaha R6",
    "Yamaha XT600E",      "Yamaha XVZ 1300", "Special - (manual seting)",
};

}  // namespace

const std::array<BikeModel, kBikeListSize> &bikeModels()
{
    return kModels;
}

int bikeCodeOfListIndex(int listIndex)
{
    if (listIndex < 0 || listIndex >= kBikeListSize)
        return -1;
    return kModels[static_cast<std::size_t>(listIndex)].code;
}

int listIndexOfBikeCode(int code)
{
    const auto it = std::find_if(kModels.begin(), kModels.end(),
                                 [code](const BikeModel &m) { return m.code == code; });
    return it == kModels.end() ? -1 : static_cast<int>(it - kModels.begin());
}

void LoadDefaults(ParameterImage &image)
{
    image[Off::Reserved101] = 0;
    for (int c = 0; c < kChannels; ++c) {
        image.maxAdvEdge2(c) = 0;
        image.startAdvEdge2(c) = 0;
        image.maxAdvPickup2(c) = 0;
        image.startAdvPickup2(c) = 0;
    }
    image.baseAdv() = 10;
    image.inverseInput() = 0;
    image.limiter2() = 110;
    image.pilotLight() = 90;
    image.tps0() = 70;
    image.tps100() = 129;
    image.tpsMap() = 0;
    image.servoEnable() = 1;
    image.servoHyster() = 40;
    image.excitation() = 1;
    image.rpmPulses() = 1;
    image.rpmCorrection() = 100;
    image.actBlok1() = 1;
    for (int k = 0; k < kMapSize; ++k) {
        image.rpmAdv(k) = static_cast<std::uint8_t>(10 * (k + 1));
        image.servoRpm(k) = kDefaultServoRpm[k];
        image.servoMv(k) = static_cast<std::uint8_t>(100 + 5 * k);
        for (int r = 0; r < kMapSize; ++r)
            image.advance(r, k) = kDefaultMap[r][k];
    }
    image.revsWithoutIgnition() = 1;
    image.compensation1() = 11;
    image.compensation2() = 11;
    image.clutchTime() = 10;
    image.clutchPause() = 50;
    image.actClutch() = 1;
}

void applyPreset(ParameterImage &image, const BikeModel &model)
{
    if (!model.hasPreset)
        return;
    image.syncMethod() = model.syncMethod;
    image.lobeCount() = model.lobeCount;
    image.outputCount() = model.outputCount;
    for (int c = 0; c < kChannels; ++c) {
        const ChannelPreset &p = model.channels[static_cast<std::size_t>(c)];
        if (!p.setsChannel())
            continue;
        image.maxAdvLobe(c) = p.maxAdv.lobe;
        image.startAdvLobe(c) = p.startAdv.lobe;
        // Flags are only ever set: LoadDefaults cleared all of them beforehand.
        if (p.maxAdv.edge2)
            image.maxAdvEdge2(c) = 1;
        if (p.startAdv.edge2)
            image.startAdvEdge2(c) = 1;
        if (p.maxAdv.pickup2)
            image.maxAdvPickup2(c) = 1;
        if (p.startAdv.pickup2)
            image.startAdvPickup2(c) = 1;
    }
}

void ApplyBikeSetup(ParameterImage &image, bool &pendingMark)
{
    // Choosing Special in the lists keeps the user's hand-made set; New always resets.
    if (image.bikeCode() != kSpecialBikeCode || !pendingMark)
        LoadDefaults(image);
    const int index = listIndexOfBikeCode(image.bikeCode());
    if (index >= 0)
        applyPreset(image, kModels[static_cast<std::size_t>(index)]);
    pendingMark = false;
}

const char *bikeListText(int listIndex)
{
    return listIndex >= 0 && listIndex < kBikeListSize ? kBikeListTexts[listIndex] : nullptr;
}

}  // namespace vorn
