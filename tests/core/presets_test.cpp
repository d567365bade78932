// Tests of the model table, the defaults and how a preset applies.
#include "params/New.h"

#include <QStringList>
#include <QTest>

#include <set>

using vorn::ParameterImage;
namespace Off = vorn::Off;

namespace {

ParameterImage filled(std::uint8_t value)
{
    ParameterImage img;
    img.bytes.fill(value);
    return img;
}

// One trigger event as "lobe[E][P]" (E second edge, P second pick-up) from the image.
QString eventText(ParameterImage &img, int ch, bool maxAdv)
{
    QString s = QString::number(maxAdv ? img.maxAdvLobe(ch) : img.startAdvLobe(ch));
    if (maxAdv ? img.maxAdvEdge2(ch) : img.startAdvEdge2(ch))
        s += 'E';
    if (maxAdv ? img.maxAdvPickup2(ch) : img.startAdvPickup2(ch))
        s += 'P';
    return s;
}

// The four channels as "max/start" each, "-" for a channel the preset leaves alone
// (recognised by the untouched marker byte 0xAA in its lobe numbers).
QString channelsText(ParameterImage &img)
{
    QStringList parts;
    for (int ch = 0; ch < vorn::kChannels; ++ch) {
        if (img.maxAdvLobe(ch) == 0xAA && img.startAdvLobe(ch) == 0xAA)
            parts << "-";
        else
            parts << eventText(img, ch, true) + "/" + eventText(img, ch, false);
    }
    return parts.join(' ');
}

}  // namespace

class PresetsTest : public QObject {
    Q_OBJECT
private slots:
    void listCodes();
    void everyListEntry_data();
    void everyListEntry();
    void defaultsWriteOnlyDefaultedFields();
    void applySetup_data();
    void applySetup();
};

void PresetsTest::listCodes()
{
    std::set<int> codes;
    int nextSmallCode = 0;
    for (int i = 0; i < vorn::kBikeListSize; ++i) {
        const int code = vorn::bikeCodeOfListIndex(i);
        QVERIFY(codes.insert(code).second);
        QCOMPARE(vorn::listIndexOfBikeCode(code), i);
        // Codes 0..22 number the entries in list order, skipping those coded 23..26.
        if (code <= 22)
            QCOMPARE(code, nextSmallCode++);
    }
    QCOMPARE(int(codes.size()), 27);
    QCOMPARE(*codes.rbegin(), 26);
    QCOMPARE(vorn::bikeCodeOfListIndex(-1), -1);
    QCOMPARE(vorn::bikeCodeOfListIndex(27), -1);
    QCOMPARE(vorn::listIndexOfBikeCode(27), -1);
    QCOMPARE(vorn::listIndexOfBikeCode(255), -1);
    QCOMPARE(vorn::bikeCodeOfListIndex(vorn::kSpecialListIndex), int(vorn::kSpecialBikeCode));
}

void PresetsTest::everyListEntry_data()
{
    QTest::addColumn<int>("listIndex");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("lobes");
    QTest::addColumn<int>("outputs");
    QTest::addColumn<QString>("channels");
    auto row = [](const char *name, int index, int code, int method, int lobes, int outputs,
                  const char *channels) {
        QTest::newRow(name) << index << code << method << lobes << outputs << QString(channels);
    };
    row("Kawasaki 3 Cyl", 0, 23, 1, 4, 3, "1/1E 2/2E 3/3E -");
    row("Kawasaki ZX h", 1, 0, 1, 3, 2, "1/1E 2/2E - -");
    row("Honda CBR 7P", 2, 1, 4, 7, 2, "2/3E 6/7E - -");
    row("Honda CBR 9P", 3, 2, 3, 9, 2, "1/3E 7/9E - -");
    row("Honda Shadow", 4, 3, 3, 9, 2, "6/7 8/9 - -");
    row("Honda VFR 400", 5, 4, 4, 7, 2, "4/5E 6/7E - -");
    row("Honda VFR 750", 6, 24, 4, 11, 4, "4/5 7/8 10/11 1/2");
    row("Honda VT 600 Shadow", 7, 5, 4, 7, 2, "1E/2E 5EP/6EP - -");
    row("Honda VT 1100", 8, 6, 4, 7, 2, "3/4E 4/5E - -");
    row("Standard", 9, 7, 0, 1, 2, "1/1E 1P/1EP - -");
    row("Suzuki 800", 10, 8, 3, 4, 2, "1/2 3/4 - -");
    row("Suzuki GSF 400 A", 11, 9, 2, 6, 2, "1/2 4/5 - -");
    row("Suzuki GSF 400 B", 12, 10, 2, 6, 2, "2/3 5/6 - -");
    row("Suzuki GSX", 13, 11, 2, 4, 2, "4/1 2/3 - -");
    row("Suzuki SV 650", 14, 12, 2, 4, 2, "4/1 1/2 - -");
    row("Suzuki Tci 125", 15, 13, 3, 4, 2, "2/3 3/4 - -");
    row("Suzuki VS 800", 16, 14, 2, 4, 2, "1/2 4/1 - -");
    row("TDM 850", 17, 15, 2, 4, 2, "3/4 4/1 - -");
    row("Triumph Tigra", 18, 26, 5, 7, 3, "2/3 4/5 6/1 -");
    row("Virago XV", 19, 16, 3, 2, 2, "1/1E 2/2E - -");
    row("Yamaha 125 SR", 20, 17, 4, 2, 2, "2/1EP 1EP/2EP - -");
    row("Yamaha Fz 750", 21, 18, 2, 8, 2, "3/4 7/8 - -");
    row("Yamaha R1", 22, 19, 2, 4, 2, "3/4 1/2 - -");
    row("Yamaha R6", 23, 20, 1, 5, 2, "1E/2E 3E/4E - -");
    row("Yamaha XT600E", 24, 21, 2, 4, 2, "4/1 2/3 - -");
    row("Yamaha XVZ 1300", 25, 25, 1, 7, 4, "1E/2E 2E/3E 4E/5E 5E/6E");
    // Special applies no preset: the trigger description keeps its (marker) bytes.
    row("Special", 26, 22, 0xAA, 0xAA, 0xAA, "- - - -");
}

void PresetsTest::everyListEntry()
{
    QFETCH(int, listIndex);
    QFETCH(int, code);
    QFETCH(int, method);
    QFETCH(int, lobes);
    QFETCH(int, outputs);
    QFETCH(QString, channels);
    QCOMPARE(vorn::bikeCodeOfListIndex(listIndex), code);

    ParameterImage img = filled(0xAA);
    img.bikeCode() = static_cast<std::uint8_t>(code);
    bool pending = false;
    vorn::ApplyBikeSetup(img, pending);
    QCOMPARE(int(img.bikeCode()), code);
    QCOMPARE(int(img.syncMethod()), method);
    QCOMPARE(int(img.lobeCount()), lobes);
    QCOMPARE(int(img.outputCount()), outputs);
    QCOMPARE(channelsText(img), channels);
    // Flags of channels the preset leaves alone were cleared by the defaults.
    for (int ch = 0; ch < vorn::kChannels; ++ch)
        if (img.maxAdvLobe(ch) == 0xAA)
            QVERIFY(!img.maxAdvEdge2(ch) && !img.startAdvEdge2(ch) && !img.maxAdvPickup2(ch)
                    && !img.startAdvPickup2(ch));
}

void PresetsTest::defaultsWriteOnlyDefaultedFields()
{
    ParameterImage img = filled(0xAA);
    vorn::LoadDefaults(img);

    const std::pair<int, int> expected[] = {
        {Off::Reserved101, 0}, {Off::BaseAdv, 10}, {Off::InverseInput, 0}, {Off::Limiter2, 110},
        {Off::PilotLight, 90}, {Off::Tps0, 70}, {Off::Tps100, 129}, {Off::TpsMap, 0},
        {Off::ServoEnable, 1}, {Off::ServoHyster, 40}, {Off::Excitation, 1}, {Off::RpmPulses, 1},
        {Off::RpmCorrection, 100}, {Off::ActBlok1, 1}, {Off::RevsWithoutIgnition, 1},
        {Off::Compensation1, 11}, {Off::Compensation2, 11}, {Off::ClutchTime, 10},
        {Off::ClutchPause, 50}, {Off::ActClutch, 1},
        {Off::RpmAdv, 10}, {Off::RpmAdv + 4, 50}, {Off::RpmAdv + 9, 100},
        {Off::ServoRpm, 12}, {Off::ServoRpm + 4, 60}, {Off::ServoRpm + 9, 160},
        {Off::ServoMv, 100}, {Off::ServoMv + 1, 105}, {Off::ServoMv + 9, 145},
        // advance map spot checks: row 0, the 10 % row's peak, the 40 % row, the 100 % row
        {200, 4}, {209, 33}, {235, 47}, {268, 33}, {269, 31}, {290, 4}, {299, 32},
    };
    for (const auto &[offset, value] : expected)
        QVERIFY2(img[offset] == value, qPrintable(QString::number(offset)));
    for (int o = 138; o <= 153; ++o)
        QCOMPARE(int(img[o]), 0);   // all 16 edge and pick-up flags

    // Everything the defaults do not own keeps its byte.
    std::set<int> kept = {Off::BikeCode, Off::SyncMethod, Off::LobeCount, Off::OutputCount,
                          105, 106, 114, 119, 128, 129};
    for (int o = 0; o < 100; ++o)
        kept.insert(o);
    for (int o = 130; o <= 137; ++o)
        kept.insert(o);
    for (int o = 154; o <= 169; ++o)
        kept.insert(o);
    for (int o : kept)
        QVERIFY2(img[o] == 0xAA, qPrintable(QString::number(o)));
    // Every other byte of blocks 1 and 2 is a defaulted field and was written.
    for (int o = 100; o < 300; ++o)
        if (!kept.count(o))
            QVERIFY2(img[o] != 0xAA, qPrintable(QString::number(o)));
    for (int o = 200; o < 300; ++o)
        QVERIFY(img[o] >= 4 && img[o] <= 47);
}

// The pending mark decides whether Special keeps the image; it is always cleared.
void PresetsTest::applySetup_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("pending");
    QTest::addColumn<bool>("defaultsLoad");
    QTest::addColumn<bool>("presetApplies");
    QTest::newRow("listed model chosen in the list") << 14 << true << true << true;
    QTest::newRow("listed model by New") << 14 << false << true << true;
    QTest::newRow("Special chosen in the list") << 22 << true << false << false;
    QTest::newRow("Special by New") << 22 << false << true << false;
    QTest::newRow("code without a row") << 40 << false << true << false;
    QTest::newRow("code without a row, pending") << 27 << true << true << false;
}

void PresetsTest::applySetup()
{
    QFETCH(int, code);
    QFETCH(bool, pending);
    QFETCH(bool, defaultsLoad);
    QFETCH(bool, presetApplies);
    ParameterImage img = filled(0xAA);
    img.bikeCode() = static_cast<std::uint8_t>(code);
    bool mark = pending;
    vorn::ApplyBikeSetup(img, mark);
    QVERIFY(!mark);
    QCOMPARE(int(img.bikeCode()), code);
    QCOMPARE(img.limiter2() == 110, defaultsLoad);
    QCOMPARE(img.maxAdvEdge2(0) == 0, defaultsLoad);
    QCOMPARE(img.syncMethod() != 0xAA, presetApplies);
    QCOMPARE(int(img[119]), 0xAA);   // a reserved byte is never touched
}

QTEST_GUILESS_MAIN(PresetsTest)
#include "presets_test.moc"
