// Tests of the parameter catalogue: coverage of every byte the program writes, names and
// shown values in the four languages, and differences between images.
#include "files/IgnFile.h"
#include "params/FieldBindings.h"
#include "params/New.h"
#include "params/ParameterCatalogue.h"

#include <QTest>

#include <set>

using vorn::ParameterImage;

namespace {

// Bytes that defaults and every model's preset write, seen as changes from two fills.
vorn::ByteMask presetBytes()
{
    vorn::ByteMask touched;
    for (std::uint8_t fill : {std::uint8_t(0x00), std::uint8_t(0xFF)}) {
        for (const auto &model : vorn::bikeModels()) {
            ParameterImage img;
            img.bytes.fill(fill);
            vorn::LoadDefaults(img);
            vorn::applyPreset(img, model);
            for (int o = 0; o < vorn::kImageSize; ++o)
                if (img[o] != fill)
                    touched.set(o);
        }
    }
    return touched;
}

}  // namespace

class ParameterCatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void coversEveryByteThatIsWritten();
    void namesAndValues_data();
    void namesAndValues();
    void differences_data();
    void differences();
};

void ParameterCatalogueTest::coversEveryByteThatIsWritten()
{
    vorn::ByteMask bindings;
    for (const auto &b : vorn::fieldBindings())
        bindings.set(b.offset);
    bindings.set(vorn::Off::BikeCode);     // the two lists
    bindings.set(vorn::Off::SyncMethod);
    const vorn::ByteMask file = vorn::ParameterFileBytes();
    const vorn::ByteMask written = bindings | file | presetBytes();
    const vorn::ByteMask &named = vorn::catalogueBytes();

    // Only the reserved byte LoadDefaults clears is written without being a parameter.
    vorn::ByteMask unnamed = written & ~named;
    QCOMPARE(unnamed.count(), std::size_t(1));
    QVERIFY(unnamed.test(vorn::Off::Reserved101));
    // Nothing is named that nobody writes (block 0 and the reserved bytes stay out).
    QCOMPARE((named & ~written).count(), std::size_t(0));
    // Block 1 without its 23 reserved bytes, and the whole map.
    QCOMPARE(named.count(), std::size_t(100 - 23 + 100));

    std::set<std::string> keys;
    for (const auto &p : vorn::parameterCatalogue()) {
        QVERIFY2(keys.insert(p.key).second, p.key.c_str());
        QCOMPARE(vorn::parameterAtOffset(p.offset), &p);
        QCOMPARE(vorn::findParameter(p.key), &p);
        // Numbers and flags carry the binding of the control that shows their byte.
        if (p.kind == vorn::Parameter::Kind::Number || p.kind == vorn::Parameter::Kind::Flag)
            QVERIFY2(p.binding && p.binding->offset == p.offset, p.key.c_str());
    }
    QCOMPARE(vorn::parameterAtOffset(vorn::Off::Reserved101), nullptr);
    QCOMPARE(vorn::parameterAtOffset(vorn::Off::VersionName), nullptr);
}

void ParameterCatalogueTest::namesAndValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("tpsMap");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("limiter") << "limiter" << 0 << "en_GB" << true << 110 << "Limiter" << "11,000 rpm";
    QTest::newRow("limiter German grouping") << "limiter" << 1 << "de_DE" << true << 110 << "Begrenzer"
                                             << "11.000 rpm";
    QTest::newRow("grouped in C locale") << "shift_light" << 0 << "C" << true << 90 << "Gear Shift Light"
                                         << "9,000 rpm";
    QTest::newRow("tps 100 byte 0") << "tps_100" << 0 << "en_GB" << true << 0 << "Throttle sensor at 100 %"
                                    << "2,500 mV";
    QTest::newRow("negative correction") << "tacho_correction" << 0 << "en_GB" << true << 40
                                         << "Tachometer output: Correction" << "-60 %";
    QTest::newRow("map cell") << "advance_map[5][4]" << 0 << "en_GB" << true << 20 << "Advance 6,000 rpm / 30 %"
                              << "20 °";
    QTest::newRow("curve cell, TPS off") << "advance_map[9][4]" << 0 << "en_GB" << false << 7
                                         << "Advance 6,000 rpm" << "7 °";
    QTest::newRow("hidden row, TPS off")
        << "advance_map[5][4]" << 3 << "en_GB" << false << 7
        << QString::fromUtf8("Předstih 6,000 rpm / 30 % (nepoužito, dokud je TPS vypnuto)") << "7 °";
    QTest::newRow("channel flag") << "max_advance_edge2[2]" << 2 << "fr_FR" << true << 1
                                  << "Channel 3, Maximum advance: 2nd Edge" << QString::fromUtf8("activé");
    QTest::newRow("odd flag byte") << "servo_enable" << 0 << "en_GB" << true << 2 << "Servo enable" << "on (2)";
    QTest::newRow("channel lobe") << "start_advance_lobe[0]" << 1 << "de_DE" << true << 5
                                  << QString::fromUtf8("Kanal 1, Start Vorzündung: Leitstück") << "5";
    QTest::newRow("model") << "bike_model" << 0 << "en_GB" << true << 20 << "Motorbike type" << "Yamaha R6";
    QTest::newRow("translated model") << "bike_model" << 1 << "de_DE" << true << int(vorn::kSpecialBikeCode)
                                      << "Mottorad Type" << "Sonderstellung";
    QTest::newRow("model code without row") << "bike_model" << 0 << "en_GB" << true << 40 << "Motorbike type"
                                            << "40";
    QTest::newRow("sync method") << "sync_method" << 1 << "de_DE" << true << 4 << "Synchronisierung Methode"
                                 << QString::fromUtf8("2 Geber, ausgelassene Leitstück");
    QTest::newRow("servo voltage") << "servo_mv[9]" << 0 << "en_GB" << true << 145 << "Servo: voltage of point 10"
                                   << "2,900 mV";
}

void ParameterCatalogueTest::namesAndValues()
{
    QFETCH(QString, key);
    QFETCH(int, language);
    QFETCH(QString, locale);
    QFETCH(bool, tpsMap);
    QFETCH(int, byte);
    QFETCH(QString, name);
    QFETCH(QString, value);

    const vorn::Parameter *p = vorn::findParameter(key.toStdString());
    QVERIFY(p);
    ParameterImage context;
    context.rpmAdv(4) = 60;
    context.tpsMap() = tpsMap;
    const QLocale l(locale);
    QCOMPARE(vorn::parameterName(*p, language, context, l), name);
    QCOMPARE(vorn::valueWithUnit(*p, static_cast<std::uint8_t>(byte), language, l), value);
}

void ParameterCatalogueTest::differences_data()
{
    QTest::addColumn<QList<int>>("changed");   // offsets whose byte is raised by 5
    QTest::addColumn<QList<int>>("maskOnly");  // empty: all catalogued bytes
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("first");

    QTest::newRow("identical") << QList<int>{} << QList<int>{} << QStringList{} << QString();
    QTest::newRow("identification and reserved bytes only")
        << QList<int>{vorn::Off::Day, vorn::Off::Reserved101, 160} << QList<int>{} << QStringList{} << QString();
    QTest::newRow("catalogue order")
        << QList<int>{vorn::Off::Advance, vorn::Off::Limiter2} << QList<int>{}
        << QStringList{"limiter", "advance_map[0][0]"} << QString::fromUtf8("Limiter 11,000 → 11,500 rpm");
    QTest::newRow("mask")
        << QList<int>{vorn::Off::Advance, vorn::Off::Limiter2} << QList<int>{vorn::Off::Advance}
        << QStringList{"advance_map[0][0]"} << QString::fromUtf8("Advance 1,000 rpm / 0 % 20 → 25 °");
}

void ParameterCatalogueTest::differences()
{
    QFETCH(QList<int>, changed);
    QFETCH(QList<int>, maskOnly);
    QFETCH(QStringList, keys);
    QFETCH(QString, first);

    ParameterImage a;
    a.limiter2() = 110;
    a.tpsMap() = 1;
    a.rpmAdv(0) = 10;
    a.advance(0, 0) = 20;
    ParameterImage b = a;
    for (int o : changed)
        b[o] = static_cast<std::uint8_t>(b[o] + 5);
    vorn::ByteMask mask = vorn::catalogueBytes();
    if (!maskOnly.isEmpty()) {
        mask.reset();
        for (int o : maskOnly)
            mask.set(o);
    }
    const auto diffs = vorn::imageDifferences(a, b, mask);
    QStringList got;
    for (const auto &d : diffs)
        got << QString::fromStdString(d.parameter->key);
    QCOMPARE(got, keys);
    QCOMPARE(vorn::differenceCount(a, b, mask), int(diffs.size()));
    if (!diffs.empty())
        QCOMPARE(vorn::changeText(diffs.front(), 0, a, QLocale(QLocale::English)), first);
}

QTEST_GUILESS_MAIN(ParameterCatalogueTest)
#include "parametercatalogue_test.moc"
