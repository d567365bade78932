// Encodings between image bytes and physical values, and the clamping rules of the image.
#include "ParameterImage.h"

namespace vorn {

namespace {

struct EncodingRule {
    Encoding encoding;
    int divisor;   // physical = byte * divisor + offset
    int offset;
};

// One table for every scaled encoding; Plain and Flag are handled apart.
constexpr EncodingRule kRules[] = {
    {Encoding::Rpm100, 100, 0},
    {Encoding::Mv10, 10, 0},
    {Encoding::Mv10Minus250, 10, 2500},
    {Encoding::Mv20, 20, 0},
    {Encoding::Mv5, 5, 0},
    {Encoding::Ms10, 10, 0},
    {Encoding::PercentPlus100, 1, -100},
};

const EncodingRule *ruleFor(Encoding e)
{
    for (const auto &r : kRules)
        if (r.encoding == e)
            return &r;
    return nullptr;
}

// Steps 1 and 2 (and 4) of the clamp: bounded, then strictly increasing speed points.
void clampSpeedPoints(ParameterImage &image, int firstOffset)
{
    for (int k = 0; k < kMapSize; ++k) {
        std::uint8_t &b = image[firstOffset + k];
        if (b < k + 3)
            b = static_cast<std::uint8_t>(k + 3);
        if (b > k + 191)
            b = static_cast<std::uint8_t>(k + 191);
    }
    for (int k = 1; k < kMapSize; ++k) {
        std::uint8_t &b = image[firstOffset + k];
        const std::uint8_t prev = image[firstOffset + k - 1];
        if (b <= prev)
            b = static_cast<std::uint8_t>(prev + 1);
    }
}

}  // namespace

int physicalFromByte(Encoding e, std::uint8_t b)
{
    if (e == Encoding::Flag)
        return b != 0 ? 1 : 0;
    if (const EncodingRule *r = ruleFor(e))
        return b * r->divisor + r->offset;
    return b;
}

std::uint8_t byteFromPhysical(Encoding e, int v)
{
    if (e == Encoding::Flag)
        return v != 0 ? 1 : 0;
    if (e == Encoding::Mv10Minus250)   // the unit's own form: (mV / 10 + 6) mod 256
        return static_cast<std::uint8_t>(v / 10 + 6);
    if (const EncodingRule *r = ruleFor(e))
        return static_cast<std::uint8_t>((v - r->offset) / r->divisor);
    return static_cast<std::uint8_t>(v);
}

void ClampParameters(ParameterImage &image, std::uint8_t &languageIndex, std::uint8_t &comPort)
{
    clampSpeedPoints(image, Off::RpmAdv);
    if (image.tps0() > 250)
        image.tps0() = 250;
    if (image.tps100() > 250)
        image.tps100() = 250;
    clampSpeedPoints(image, Off::ServoRpm);
    if (languageIndex > 3)
        languageIndex = 0;
    if (comPort > 10)
        comPort = 1;
    if (image.syncMethod() == 0)
        image.lobeCount() = 1;
    const std::uint8_t lobes = image.lobeCount();
    const bool pickup2Used = image.syncMethod() == 0 || image.syncMethod() == 4;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (image.maxAdvLobe(ch) > lobes)
            image.maxAdvLobe(ch) = lobes;
        if (image.startAdvLobe(ch) > lobes)
            image.startAdvLobe(ch) = lobes;
        if (!pickup2Used) {
            image.maxAdvPickup2(ch) = 0;
            image.startAdvPickup2(ch) = 0;
        }
    }
}

}  // namespace vorn
