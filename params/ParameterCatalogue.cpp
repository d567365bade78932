// The parameter catalogue: keys, names, units and shown values of the image's fields.
#include "ParameterCatalogue.h"

#include "New.h"
#include "lang/Jazyk1.h"
#include "lang/Texts4.h"
#include "link/Tune.h"

#include <array>
#include <iterator>

namespace vorn {

namespace {

using Kind = Parameter::Kind;
using Naming = Parameter::Naming;

// A field named on its own. Names follow the window's captions without their unit.
struct Scalar {
    const char *key;
    const char *control;   // bound control, or nullptr for the two lists
    int offset;
    Kind kind;
    const char *unit;
    Text4 name;
};

const Scalar kScalars[] = {
    {"bike_model", nullptr, Off::BikeCode, Kind::ModelList, "",
     {"Motorbike type", "Mottorad Type", "Motocycle type", "Typ motocyklu"}},
    {"sync_method", nullptr, Off::SyncMethod, Kind::SyncList, "",
     {"Synchronization method", "Synchronisierung Methode", "Méthode de synchronisation", "Způsob synchronizace"}},
    {"lobe_count", "EditPocPalcu", Off::LobeCount, Kind::Number, "",
     {"Number of lobes", "Leitstücknanzahl", "Nombre de dents", "Počet výstupků"}},
    {"output_count", "EditPocKanalu", Off::OutputCount, Kind::Number, "",
     {"Number of outputs (coils)", "Ausgangsanzahl (Spulen)", "Nombre de sorties (bobines)", "Počet výstupů (cívek)"}},
    {"shift_light", "EditPilotLight", Off::PilotLight, Kind::Number, "rpm",
     {"Gear Shift Light", "Schaltblitz", "Retard à l´allumage", "Kontrolka řazení"}},
    {"inverse_input", "CheckBoxInvInput", Off::InverseInput, Kind::Flag, "",
     {"Inverse polarity of pick-up", "Umgekehrte Eingang", "Polarité inversée du capteur", "Opačná polarita snímače"}},
    {"base_advance", "EditBaseAdv", Off::BaseAdv, Kind::Number, "°",
     {"Base advance", "Basis Vorzündung", "Avance de base", "Základní předstih"}},
    {"revs_without_ignition", "EditPocSynchro", Off::RevsWithoutIgnition, Kind::Number, "",
     {"Revolutions without ignition", "Umdrehungen ohne Zündung", "Tours sans allumage",
      "Počet otáček bez zápalu"}},
    {"tacho_pulses", "EditRpmPulsu", Off::RpmPulses, Kind::Number, "",
     {"Tachometer output: Pulses per revolution", "Drehzählerausgang: Pulse pro Umdrehung",
      "Sortie compte-tours : impulsions par tour", "Výstup pro otáčkoměr: Počet pulsů za otáčku"}},
    {"tacho_correction", "EditRpmKorekce", Off::RpmCorrection, Kind::Number, "%",
     {"Tachometer output: Correction", "Drehzählerausgang: Korrektion", "Sortie compte-tours : correction",
      "Výstup pro otáčkoměr: Korekce"}},
    {"limiter", "EditOmez2", Off::Limiter2, Kind::Number, "rpm",
     {"Limiter", "Begrenzer", "Limitateur", "Omezovač"}},
    {"excitation_long", "CheckBoxBuzDlouhe", Off::Excitation, Kind::Flag, "",
     {"Excitation Long", "Anfachung lange", "Excitation longue", "Buzení dlouhé"}},
    {"servo_enable", "CheckBoxPrivEnable", Off::ServoEnable, Kind::Flag, "",
     {"Servo enable", "Servo ein", "Servo activé", "Servo zapnuto"}},
    {"servo_hysteresis", "EditPrivHyster", Off::ServoHyster, Kind::Number, "mV",
     {"Servo Hysteresis", "Servo Hysteresis", "Hystérésis du servo", "Hystereze serva"}},
    {"blocking_1", "CheckBoxAktBlok1", Off::ActBlok1, Kind::Flag, "",
     {"Activation by Switch on: Blocking 1", "Aktivation durch Schaltung: Blockierung 1",
      "Activation par fermeture : blocage 1", "Aktivace sepnutím: Blokování 1"}},
    {"tps_0", "EditTps0", Off::Tps0, Kind::Number, "mV",
     {"Throttle sensor at 0 %", "Drosselklappensensor bei 0 %", "Capteur de papillon à 0 %",
      "Snímač plynu při 0 %"}},
    {"tps_100", "EditTps100", Off::Tps100, Kind::Number, "mV",
     {"Throttle sensor at 100 %", "Drosselklappensensor bei 100 %", "Capteur de papillon à 100 %",
      "Snímač plynu při 100 %"}},
    {"tps_map", "CheckBoxTpsMapa", Off::TpsMap, Kind::Flag, "",
     {"Advance map by throttle (TPS)", "Vorzündung Karte nach Drosselklappe (TPS)",
      "Carte d'avance selon le papillon (TPS)", "Mapa předstihu podle plynu (TPS)"}},
    {"compensation_1", "EditKompenz1", Off::Compensation1, Kind::Number, "",
     {"Compensation 1", "Kompensation 1", "Compensation 1", "Kompenzace 1"}},
    {"compensation_2", "EditKompenz2", Off::Compensation2, Kind::Number, "",
     {"Compensation 2", "Kompensation 2", "Compensation 2", "Kompenzace 2"}},
    {"clutch_time", "EditClutchTime", Off::ClutchTime, Kind::Number, "ms",
     {"Clutch master time", "Clutch master Zeit", "Clutch master : durée", "Clutch master čas"}},
    {"clutch_pause", "EditClutchPause", Off::ClutchPause, Kind::Number, "ms",
     {"Clutch master pause", "Clutch master Pause", "Clutch master : pause", "Clutch master pauza"}},
    {"clutch_master", "CheckBoxAktClutch", Off::ActClutch, Kind::Flag, "",
     {"Activation by Switch on: Clutch master", "Aktivation durch Schaltung: Clutch master",
      "Activation par fermeture : clutch master", "Aktivace sepnutím: Clutch master"}},
};

constexpr Text4 kAdvanceRpm{"Advance map: speed of column %1", "Vorzündung Karte: Drehzahl der Spalte %1",
                            "Carte d'avance: régime de la colonne %1", "Mapa předstihu: otáčky sloupce %1"};
constexpr Text4 kServoRpm{"Servo: speed of point %1", "Servo: Drehzahl des Punktes %1",
                          "Servo: régime du point %1", "Servo: otáčky bodu %1"};
constexpr Text4 kServoMv{"Servo: voltage of point %1", "Servo: Spannung des Punktes %1",
                         "Servo: tension du point %1", "Servo: napětí bodu %1"};
constexpr Text4 kCell{"Advance %1 rpm / %2 %", "Vorzündung %1 rpm / %2 %", "Avance %1 rpm / %2 %",
                      "Předstih %1 rpm / %2 %"};
constexpr Text4 kCurveCell{"Advance %1 rpm", "Vorzündung %1 rpm", "Avance %1 rpm", "Předstih %1 rpm"};
constexpr Text4 kUnusedRow{"(not used while TPS is off)", "(unbenutzt, solange TPS aus ist)",
                           "(inutilisé tant que TPS est désactivé)", "(nepoužito, dokud je TPS vypnuto)"};
constexpr Text4 kOn{"on", "ein", "activé", "zapnuto"};
constexpr Text4 kOff{"off", "aus", "désactivé", "vypnuto"};

const FieldBinding *bindingAt(int offset)
{
    for (const auto &b : fieldBindings())
        if (b.offset == offset)
            return &b;
    return nullptr;
}

std::vector<Parameter> build()
{
    std::vector<Parameter> t;
    for (int i = 0; i < static_cast<int>(std::size(kScalars)); ++i) {
        const Scalar &s = kScalars[i];
        Parameter p{s.key, s.offset, s.kind, Naming::Scalar, s.control ? findBinding(s.control) : nullptr};
        p.scalar = i;
        t.push_back(p);
    }
    struct ChannelField { const char *key; int base; Naming naming; bool start; };
    const ChannelField channelFields[] = {
        {"max_advance_lobe", Off::MaxAdvLobe, Naming::ChannelLobe, false},
        {"max_advance_edge2", Off::MaxAdvEdge2, Naming::ChannelEdge2, false},
        {"max_advance_pickup2", Off::MaxAdvPickup2, Naming::ChannelPickup2, false},
        {"start_advance_lobe", Off::StartAdvLobe, Naming::ChannelLobe, true},
        {"start_advance_edge2", Off::StartAdvEdge2, Naming::ChannelEdge2, true},
        {"start_advance_pickup2", Off::StartAdvPickup2, Naming::ChannelPickup2, true},
    };
    for (int ch = 0; ch < kChannels; ++ch)
        for (const ChannelField &f : channelFields) {
            const int offset = f.base + ch;
            const FieldBinding *b = bindingAt(offset);
            Parameter p{std::string(f.key) + '[' + std::to_string(ch) + ']', offset,
                        f.naming == Naming::ChannelLobe ? Kind::Number : Kind::Flag, f.naming, b, ch};
            p.startEvent = f.start;
            t.push_back(p);
        }
    const struct { const char *key; int base; Naming naming; } points[] = {
        {"advance_rpm", Off::RpmAdv, Naming::AdvanceRpm},
        {"servo_rpm", Off::ServoRpm, Naming::ServoRpm},
        {"servo_mv", Off::ServoMv, Naming::ServoMv},
    };
    for (const auto &f : points)
        for (int k = 0; k < kMapSize; ++k)
            t.push_back(Parameter{std::string(f.key) + '[' + std::to_string(k) + ']', f.base + k, Kind::Number,
                                  f.naming, bindingAt(f.base + k), k});
    for (int r = 0; r < kMapSize; ++r)
        for (int c = 0; c < kMapSize; ++c) {
            const int offset = Off::Advance + 10 * r + c;
            Parameter p{"advance_map[" + std::to_string(r) + "][" + std::to_string(c) + ']', offset,
                        Kind::Number, Naming::AdvanceCell, bindingAt(offset), r};
            p.column = c;
            t.push_back(p);
        }
    return t;
}

const std::array<const Parameter *, kImageSize> &byOffset()
{
    static const std::array<const Parameter *, kImageSize> table = [] {
        std::array<const Parameter *, kImageSize> entries{};
        for (const Parameter &p : parameterCatalogue())
            entries[static_cast<std::size_t>(p.offset)] = &p;
        return entries;
    }();
    return table;
}

// Grouping is how the window's fields read, also in locales (such as C) that omit it.
QString grouped(int value, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(l.numberOptions() & ~QLocale::OmitGroupSeparator);
    return l.toString(value);
}

QString caption(const char *control, int language)
{
    return captionText(QString::fromLatin1(control), CaptionProperty::Caption, language);
}

}  // namespace

const std::vector<Parameter> &parameterCatalogue()
{
    static const std::vector<Parameter> table = build();
    return table;
}

const Parameter *findParameter(std::string_view key)
{
    for (const Parameter &p : parameterCatalogue())
        if (p.key == key)
            return &p;
    return nullptr;
}

const Parameter *parameterAtOffset(int offset)
{
    return offset >= 0 && offset < kImageSize ? byOffset()[static_cast<std::size_t>(offset)] : nullptr;
}

const ByteMask &catalogueBytes()
{
    static const ByteMask mask = [] {
        ByteMask m;
        for (const Parameter &p : parameterCatalogue())
            m.set(static_cast<std::size_t>(p.offset));
        return m;
    }();
    return mask;
}

int throttleRowPercent(int row)
{
    return kThrottleAxis[static_cast<std::size_t>(row)];
}

QString parameterName(const Parameter &p, int language, const ParameterImage &context, const QLocale &locale)
{
    const QString n = QString::number(p.index + 1);
    switch (p.naming) {
    case Naming::Scalar:
        return text4(kScalars[p.scalar].name, language);
    case Naming::ChannelLobe:
    case Naming::ChannelEdge2:
    case Naming::ChannelPickup2: {
        const QString group = caption(("GroupBoxPalec" + std::to_string(p.index + 1)).c_str(), language);
        const QString event = caption(("LabelPalec" + std::to_string(p.index + 1) + (p.startEvent ? "End" : "Zac")).c_str(),
                                      language);
        const char *column = p.naming == Naming::ChannelLobe    ? "LabelLobe"
                             : p.naming == Naming::ChannelEdge2 ? "LabelHrana2"
                                                                : "LabelSnimac2";
        return group + ", " + event + ": " + caption(column, language);
    }
    case Naming::AdvanceRpm:
        return text4(kAdvanceRpm, language).arg(n);
    case Naming::ServoRpm:
        return text4(kServoRpm, language).arg(n);
    case Naming::ServoMv:
        return text4(kServoMv, language).arg(n);
    case Naming::AdvanceCell: {
        const QString rpm = grouped(physicalFromByte(Encoding::Rpm100, context[Off::RpmAdv + p.column]), locale);
        const bool curve = context[Off::TpsMap] == 0;
        if (curve && p.index == kMapSize - 1)
            return text4(kCurveCell, language).arg(rpm);
        const QString name = text4(kCell, language).arg(rpm).arg(throttleRowPercent(p.index));
        return curve ? name + ' ' + text4(kUnusedRow, language) : name;
    }
    }
    return QString::fromStdString(p.key);
}

QString parameterUnit(const Parameter &p)
{
    switch (p.naming) {
    case Naming::Scalar:
        return QString::fromUtf8(kScalars[p.scalar].unit);
    case Naming::AdvanceRpm:
    case Naming::ServoRpm:
        return QStringLiteral("rpm");
    case Naming::ServoMv:
        return QStringLiteral("mV");
    case Naming::AdvanceCell:
        return QStringLiteral("°");
    default:
        return {};
    }
}

int physicalValue(const Parameter &p, std::uint8_t byte)
{
    return p.binding ? physicalFromByte(p.binding->encoding, byte) : byte;
}

QString valueText(const Parameter &p, std::uint8_t byte, int language, const QLocale &locale)
{
    switch (p.kind) {
    case Kind::Flag:
        // Any non-zero byte reads as on; an unusual one is shown so two "on" values can differ.
        if (byte > 1)
            return text4(kOn, language) + " (" + QString::number(byte) + ')';
        return text4(byte ? kOn : kOff, language);
    case Kind::ModelList: {
        const int index = listIndexOfBikeCode(byte);
        if (index < 0)
            return QString::number(byte);
        const QString translated = captionText("ComboBoxBike", CaptionProperty::ListEntry, language, index);
        return (translated.isNull() ? QString::fromUtf8(bikeListText(index)) : translated).trimmed();
    }
    case Kind::SyncList: {
        const QString entry = captionText("ComboBoxSynchro", CaptionProperty::ListEntry, language, byte);
        return entry.isNull() ? QString::number(byte) : entry;
    }
    case Kind::Number:
        break;
    }
    const int v = physicalValue(p, byte);
    return p.binding && p.binding->grouped ? grouped(v, locale) : QString::number(v);
}

QString valueWithUnit(const Parameter &p, std::uint8_t byte, int language, const QLocale &locale)
{
    const QString unit = parameterUnit(p);
    const QString value = valueText(p, byte, language, locale);
    return unit.isEmpty() ? value : value + ' ' + unit;
}

std::vector<ParameterDifference> imageDifferences(const ParameterImage &before, const ParameterImage &after,
                                                  const ByteMask &mask)
{
    std::vector<ParameterDifference> out;
    for (const Parameter &p : parameterCatalogue())
        if (mask.test(static_cast<std::size_t>(p.offset)) && before[p.offset] != after[p.offset])
            out.push_back({&p, before[p.offset], after[p.offset]});
    return out;
}

int differenceCount(const ParameterImage &before, const ParameterImage &after, const ByteMask &mask)
{
    int n = 0;
    const ByteMask &named = catalogueBytes();
    for (int o = kBlockSize; o < kImageSize; ++o)
        if (before[o] != after[o] && mask.test(static_cast<std::size_t>(o)) && named.test(static_cast<std::size_t>(o)))
            ++n;
    return n;
}

QString changeText(const ParameterDifference &d, int language, const ParameterImage &context, const QLocale &locale)
{
    const Parameter &p = *d.parameter;
    const QString unit = parameterUnit(p);
    QString text = parameterName(p, language, context, locale) + ' ' + valueText(p, d.before, language, locale)
                   + QString::fromUtf8(" → ") + valueText(p, d.after, language, locale);
    if (!unit.isEmpty())
        text += ' ' + unit;
    return text;
}

}  // namespace vorn
