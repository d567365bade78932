// Motorcycle model table with the trigger presets, the default parameter set and how both apply.
#pragma once

#include "ParameterImage.h"

#include <array>
#include <cstdint>

namespace vorn {

constexpr int kBikeListSize = 27;
constexpr int kSpecialListIndex = 26;        // "Special": synchronisation set by hand
constexpr std::uint8_t kSpecialBikeCode = 22;
constexpr std::uint8_t kStartBikeCode = 20;  // the model chosen at every start

// One trigger event of a channel: lobe number, use its second edge, take it from pick-up 2.
struct LobeEvent {
    std::uint8_t lobe = 0;
    bool edge2 = false;
    bool pickup2 = false;
};

// A channel the preset leaves alone has lobe 0 in both events.
struct ChannelPreset {
    LobeEvent maxAdv;
    LobeEvent startAdv;
    bool setsChannel() const { return maxAdv.lobe != 0; }
};

struct BikeModel {
    std::uint8_t code;       // what the image, files and settings store
    bool hasPreset;          // false only for Special
    std::uint8_t syncMethod;
    std::uint8_t lobeCount;
    std::uint8_t outputCount;
    std::array<ChannelPreset, kChannels> channels;
};

// The model list in list order (index 0..26). Codes differ from list indexes.
const std::array<BikeModel, kBikeListSize> &bikeModels();

// Stored code of a list entry; -1 for an index outside the list (no selection).
int bikeCodeOfListIndex(int listIndex);
// The untranslated text of a model list entry (UTF-8); nullptr outside the list.
const char *bikeListText(int listIndex);
// List entry of a stored code; -1 for a code without a row (above 26).
int listIndexOfBikeCode(int code);

// Writes the default value of every defaulted field. Leaves the model code, the whole
// trigger description except its 16 edge / pick-up flags, the reserved bytes and block 0.
void LoadDefaults(ParameterImage &image);

// Writes the preset of a list entry: only the fields it names, it never clears anything.
void applyPreset(ParameterImage &image, const BikeModel &model);

// Defaults (unless Special is being chosen in the lists, marked by pendingMark) and the
// preset of the image's model code; clears the pending mark.
void ApplyBikeSetup(ParameterImage &image, bool &pendingMark);

}  // namespace vorn
