// The table of bound fields: control names, image offsets, encodings and spinner limits.
#include "FieldBindings.h"

namespace vorn {

namespace {

using K = FieldBinding::Kind;

FieldBinding num(const std::string &suffix, int offset, Encoding e, int min, int max, int step,
                 int initial)
{
    return FieldBinding{K::Numeric, "Edit" + suffix, "UpDown" + suffix, offset, e, min, max, step,
                        initial, true};
}

FieldBinding check(const std::string &name, int offset)
{
    return FieldBinding{K::Check, name, {}, offset, Encoding::Flag, 0, 1, 1, 0, false};
}

std::vector<FieldBinding> build()
{
    std::vector<FieldBinding> t;
    t.push_back(num("PocPalcu", Off::LobeCount, Encoding::Plain, 1, 58, 1, 40));
    t.push_back(num("PocKanalu", Off::OutputCount, Encoding::Plain, 1, 4, 1, 4));
    t.push_back(num("PilotLight", Off::PilotLight, Encoding::Rpm100, 1000, 25000, 100, 15000));
    t.push_back(check("CheckBoxInvInput", Off::InverseInput));
    t.push_back(num("BaseAdv", Off::BaseAdv, Encoding::Plain, 0, 40, 1, 40));
    t.push_back(num("PocSynchro", Off::RevsWithoutIgnition, Encoding::Plain, 0, 40, 1, 40));
    t.push_back(num("RpmPulsu", Off::RpmPulses, Encoding::Plain, 0, 6, 1, 1));
    t.push_back(num("RpmKorekce", Off::RpmCorrection, Encoding::PercentPlus100, -60, 60, 1, 0));
    t.push_back(num("Omez2", Off::Limiter2, Encoding::Rpm100, 999, 25000, 100, 15000));
    t.push_back(check("CheckBoxBuzDlouhe", Off::Excitation));
    t.push_back(check("CheckBoxPrivEnable", Off::ServoEnable));
    t.push_back(num("PrivHyster", Off::ServoHyster, Encoding::Mv5, 0, 1275, 5, 300));
    t.push_back(check("CheckBoxAktBlok1", Off::ActBlok1));
    t.push_back(num("Tps0", Off::Tps0, Encoding::Mv10, 250, 2500, 10, 300));
    t.push_back(num("Tps100", Off::Tps100, Encoding::Mv10Minus250, 2500, 4750, 10, 2500));
    t.push_back(check("CheckBoxTpsMapa", Off::TpsMap));
    t.push_back(num("Kompenz1", Off::Compensation1, Encoding::Plain, 0, 255, 1, 40));
    t.push_back(num("Kompenz2", Off::Compensation2, Encoding::Plain, 0, 255, 1, 40));
    t.push_back(num("ClutchTime", Off::ClutchTime, Encoding::Ms10, 0, 2500, 10, 0));
    t.push_back(num("ClutchPause", Off::ClutchPause, Encoding::Ms10, 0, 2500, 10, 0));
    t.push_back(check("CheckBoxAktClutch", Off::ActClutch));

    for (int ch = 0; ch < kChannels; ++ch) {
        const std::string n = std::to_string(ch + 1);
        t.push_back(num("Palec" + n + "Zac", Off::MaxAdvLobe + ch, Encoding::Plain, 1, 58, 1, 40));
        t.push_back(num("Palec" + n + "End", Off::StartAdvLobe + ch, Encoding::Plain, 1, 58, 1, 40));
        t.push_back(check("CheckBoxPalec" + n + "ZacH2", Off::MaxAdvEdge2 + ch));
        t.push_back(check("CheckBoxPalec" + n + "EndH2", Off::StartAdvEdge2 + ch));
        t.push_back(check("CheckBoxPalec" + n + "ZacP2", Off::MaxAdvPickup2 + ch));
        t.push_back(check("CheckBoxPalec" + n + "EndP2", Off::StartAdvPickup2 + ch));
    }

    static const int kServoRpmInitial[kMapSize] = {1000, 2000, 3000, 4000, 6000,
                                                   8000, 10000, 12000, 14000, 16000};
    for (int k = 0; k < kMapSize; ++k) {
        const std::string n = std::to_string(k + 1);
        t.push_back(num("RpmAdv" + n, Off::RpmAdv + k, Encoding::Rpm100, k == 0 ? 199 : 300, 20100,
                        100, 1000 * (k + 1)));
        t.push_back(num("RpmPriv" + n, Off::ServoRpm + k, Encoding::Rpm100, k < 2 ? 200 : 300,
                        20100, 100, kServoRpmInitial[k]));
        t.push_back(num("NapPriv" + n, Off::ServoMv + k, Encoding::Mv20, 20, 5000, 20, 100));
    }

    for (int cell = 0; cell < kMapSize * kMapSize; ++cell) {
        FieldBinding b = num(std::to_string(50 + cell), Off::Advance + cell, Encoding::Plain, 0, 60,
                             1, 20);
        b.grouped = false;
        t.push_back(b);
    }
    return t;
}

}  // namespace

const std::vector<FieldBinding> &fieldBindings()
{
    static const std::vector<FieldBinding> table = build();
    return table;
}

const FieldBinding *findBinding(const std::string &controlName)
{
    for (const auto &b : fieldBindings())
        if (b.edit == controlName)
            return &b;
    return nullptr;
}

}  // namespace vorn
