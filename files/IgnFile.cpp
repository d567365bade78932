// The *.ign parameter file: a labelled text form of the settings and the advance map.
#include "IgnFile.h"

#include "WordReader.h"

#include <QByteArrayList>

#include <array>
#include <span>

namespace vorn {

namespace {

// "%5u ": right-aligned in five characters, wider numbers in full, then one space.
QByteArray n(int value)
{
    return QByteArray::number(value).rightJustified(5, ' ') + ' ';
}

// A flag: four spaces and the digit, no trailing space.
QByteArray f(std::uint8_t byte)
{
    return byte ? QByteArray("    1") : QByteArray("    0");
}

QByteArray row(const ParameterImage &img, int first, int count, int scale)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += n(img[first + i] * scale);
    return out;
}

const QByteArray kIndent(12, ' ');

// How a number read from the file becomes its byte.
enum class Store {
    Plain,           // the byte is the value
    Divide,          // the byte is value / divisor
    Tps100Mv,        // mV / 10 - 250, i.e. (mV / 10 + 6) modulo 256
    PercentPlus100,  // (value + 100) modulo 256, so "-20" gives 80
};

struct Slot {
    int offset;
    Store store = Store::Plain;
    int divisor = 1;
};

struct Record {
    const char *keyword;
    std::span<const Slot> fields;
};

constexpr Slot kBike[] = {
    {Off::BikeCode}, {Off::SyncMethod}, {Off::LobeCount}, {Off::OutputCount},
    {Off::MaxAdvLobe + 0}, {Off::MaxAdvEdge2 + 0}, {Off::MaxAdvPickup2 + 0},
    {Off::StartAdvLobe + 0}, {Off::StartAdvEdge2 + 0}, {Off::StartAdvPickup2 + 0},
    {Off::MaxAdvLobe + 1}, {Off::MaxAdvEdge2 + 1}, {Off::MaxAdvPickup2 + 1},
    {Off::StartAdvLobe + 1}, {Off::StartAdvEdge2 + 1}, {Off::StartAdvPickup2 + 1},
    {Off::MaxAdvLobe + 2}, {Off::MaxAdvEdge2 + 2}, {Off::MaxAdvPickup2 + 2},
    {Off::StartAdvLobe + 2}, {Off::StartAdvEdge2 + 2}, {Off::StartAdvPickup2 + 2},
    {Off::MaxAdvLobe + 3}, {Off::MaxAdvEdge2 + 3}, {Off::MaxAdvPickup2 + 3},
    {Off::StartAdvLobe + 3}, {Off::StartAdvEdge2 + 3}, {Off::StartAdvPickup2 + 3},
    {Off::RevsWithoutIgnition}, {Off::Compensation1}, {Off::Compensation2}, {Off::InverseInput},
};
constexpr Slot kBaseAdv[] = {{Off::BaseAdv}};
constexpr Slot kLimiter2[] = {{Off::Limiter2}};
constexpr Slot kPilotLight[] = {{Off::PilotLight, Store::Divide, 100}};
constexpr Slot kClutch[] = {{Off::ClutchTime, Store::Divide, 10}, {Off::ClutchPause, Store::Divide, 10}};
constexpr Slot kActClutch[] = {{Off::ActClutch}};
constexpr Slot kTps[] = {{Off::Tps0, Store::Divide, 10}, {Off::Tps100, Store::Tps100Mv}};
constexpr Slot kRpm[] = {{Off::RpmPulses}, {Off::RpmCorrection, Store::PercentPlus100}};
constexpr Slot kExcitation[] = {{Off::Excitation}};
constexpr Slot kTpsMapa[] = {{Off::TpsMap}};
constexpr Slot kActBlok1[] = {{Off::ActBlok1}};
constexpr Slot kServoEnable[] = {{Off::ServoEnable}};
constexpr Slot kServoHyster[] = {{Off::ServoHyster, Store::Divide, 5}};

template <int First, int Count, Store S = Store::Plain, int Divisor = 1>
constexpr std::array<Slot, Count> run()
{
    std::array<Slot, Count> fields{};
    for (int i = 0; i < Count; ++i)
        fields[i] = Slot{First + i, S, Divisor};
    return fields;
}
constexpr auto kRpmAdv = run<Off::RpmAdv, kMapSize, Store::Divide, 100>();
constexpr auto kAdvance = run<Off::Advance, kMapSize * kMapSize>();
constexpr auto kServoRpm = run<Off::ServoRpm, kMapSize, Store::Divide, 100>();
constexpr auto kServoMv = run<Off::ServoMv, kMapSize, Store::Divide, 20>();

const Record kRecords[] = {
    {"BIKE", kBike},
    {"BASE_ADV", kBaseAdv},
    {"LIMITER2", kLimiter2},
    {"PILOT_LIGHT", kPilotLight},
    {"CLUTCH", kClutch},
    {"ACT_CLUTCH", kActClutch},
    {"TPS", kTps},
    {"RPM", kRpm},
    {"EXCITATION", kExcitation},
    {"TPS_MAPA", kTpsMapa},
    {"ACT_BLOK1", kActBlok1},
    {"RPM_ADV", kRpmAdv},
    {"ADVANCE", kAdvance},
    {"SERVO_ENABLE", kServoEnable},
    {"SERVO_HYSTER", kServoHyster},
    {"SERVO_RPM", kServoRpm},
    {"SERVO_MV", kServoMv},
};

std::uint8_t byteFor(const Slot &slot, std::uint16_t value)
{
    switch (slot.store) {
    case Store::Plain:
        return static_cast<std::uint8_t>(value);
    case Store::Divide:
        return static_cast<std::uint8_t>(value / slot.divisor);
    case Store::Tps100Mv:
        return static_cast<std::uint8_t>(value / 10 + 6);
    case Store::PercentPlus100:
        return static_cast<std::uint8_t>(value + 100);
    }
    return 0;
}

// Looks for the key word followed by a number whose low 16 bits are the version.
bool findKey(WordReader &words)
{
    while (!words.atEnd()) {
        if (words.next() != QByteArrayView(kIgnKeyWord))
            continue;
        if (const auto version = words.nextNumber(); version && *version == kIgnVersion)
            return true;
    }
    return false;
}

}  // namespace

QByteArray WriteParameterFile(const ParameterImage &img)
{
    QByteArrayList lines;
    lines << kIgnKeyWord + QByteArray("  ") + QByteArray::number(kIgnVersion).rightJustified(3, ' ') + ' ';
    lines << QByteArray();
    lines << "BIKE        " + n(img[Off::BikeCode]);
    lines << kIndent + n(img[Off::SyncMethod]) + n(img[Off::LobeCount]) + n(img[Off::OutputCount]);
    for (int ch = 0; ch < kChannels; ++ch) {
        lines << kIndent + n(img[Off::MaxAdvLobe + ch]) + n(img[Off::MaxAdvEdge2 + ch])
                     + n(img[Off::MaxAdvPickup2 + ch]);
        lines << kIndent + n(img[Off::StartAdvLobe + ch]) + n(img[Off::StartAdvEdge2 + ch])
                     + n(img[Off::StartAdvPickup2 + ch]);
    }
    lines << kIndent;
    lines << kIndent + n(img[Off::RevsWithoutIgnition]) + n(img[Off::Compensation1])
                 + n(img[Off::Compensation2]) + n(img[Off::InverseInput]);
    lines << "BASE_ADV    " + n(img[Off::BaseAdv]);
    lines << "LIMITER2    " + n(img[Off::Limiter2]);
    // These three labels are one character wider than the others, as files in use have them.
    lines << "PILOT_LIGHT  " + n(img[Off::PilotLight] * 100);
    lines << "CLUTCH       " + n(img[Off::ClutchTime] * 10) + n(img[Off::ClutchPause] * 10);
    lines << "ACT_CLUTCH   " + f(img[Off::ActClutch]);
    lines << QByteArray();
    lines << "TPS         " + n(img[Off::Tps0] * 10) + n((img[Off::Tps100] + 250) * 10);
    lines << "RPM        " + n(img[Off::RpmPulses]) + n(img[Off::RpmCorrection] - 100);
    lines << "EXCITATION  " + f(img[Off::Excitation]);
    lines << "TPS_MAPA    " + f(img[Off::TpsMap]);
    lines << "ACT_BLOK1   " + f(img[Off::ActBlok1]);
    lines << QByteArray();
    lines << "RPM_ADV     " + row(img, Off::RpmAdv, kMapSize, 100);
    lines << QByteArray();
    for (int r = 0; r < kMapSize; ++r)
        lines << (r == 0 ? QByteArray("ADVANCE     ") : kIndent) + row(img, Off::Advance + 10 * r, kMapSize, 1);
    lines << kIndent;
    lines << QByteArray();
    lines << "SERVO_ENABLE" + f(img[Off::ServoEnable]);
    lines << "SERVO_HYSTER" + n(img[Off::ServoHyster] * 5);
    lines << "SERVO_RPM   " + row(img, Off::ServoRpm, kMapSize, 100);
    lines << "SERVO_MV    " + row(img, Off::ServoMv, kMapSize, 20);
    return lines.join("\r\n");
}

bool ReadParameterFile(QByteArrayView content, ParameterImage &image)
{
    WordReader words(content);
    if (!findKey(words))
        return false;
    while (!words.atEnd()) {
        const QByteArrayView word = words.next();
        for (const Record &record : kRecords) {
            if (word != QByteArrayView(record.keyword))
                continue;
            for (const Slot &slot : record.fields) {
                const auto value = words.nextNumber();
                if (!value)
                    break;
                image[slot.offset] = byteFor(slot, *value);
            }
            break;
        }
    }
    return true;
}

std::bitset<kImageSize> ParameterFileBytes()
{
    std::bitset<kImageSize> mask;
    for (const Record &record : kRecords)
        for (const Slot &slot : record.fields)
            mask.set(static_cast<std::size_t>(slot.offset));
    return mask;
}

}  // namespace vorn
