// Tests of the conversions between image bytes and what the bound controls hold.
#include "params/FieldBindings.h"
#include "params/FormValues.h"

#include <QTest>

#include <limits>
#include <set>

using vorn::FieldBinding;

namespace {

const FieldBinding &binding(const char *control)
{
    const FieldBinding *b = vorn::findBinding(control);
    if (!b)
        qFatal("no binding for %s", control);
    return *b;
}

}  // namespace

class FormValuesTest : public QObject {
    Q_OBJECT
private slots:
    void typedValues_data();
    void typedValues();
    void everyByteSurvivesShowAndRead();
    void windowRangesNeverWrap();
    void tableCoversEveryFieldOnce();
    void controlsShowTheirBytes_data();
    void controlsShowTheirBytes();
};

// A value as the user commits it, the byte stored, and what the field shows after the hook.
void FormValuesTest::typedValues_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("shown");
    QTest::newRow("limiter 15050 truncates") << "EditOmez2" << 15050 << 150 << 15000;
    QTest::newRow("limiter minimum 999") << "EditOmez2" << 999 << 9 << 900;
    QTest::newRow("limiter maximum") << "EditOmez2" << 25000 << 250 << 25000;
    QTest::newRow("pilot light minimum") << "EditPilotLight" << 1000 << 10 << 1000;
    QTest::newRow("tps0 range ends") << "EditTps0" << 250 << 25 << 250;
    QTest::newRow("tps0 maximum") << "EditTps0" << 2500 << 250 << 2500;
    QTest::newRow("tps100 2500 is byte 0") << "EditTps100" << 2500 << 0 << 2500;
    QTest::newRow("tps100 3000") << "EditTps100" << 3000 << 50 << 3000;
    QTest::newRow("tps100 maximum") << "EditTps100" << 4750 << 225 << 4750;
    QTest::newRow("correction -60") << "EditRpmKorekce" << -60 << 40 << -60;
    QTest::newRow("correction +60") << "EditRpmKorekce" << 60 << 160 << 60;
    QTest::newRow("hysteresis maximum") << "EditPrivHyster" << 1275 << 255 << 1275;
    QTest::newRow("hysteresis 302") << "EditPrivHyster" << 302 << 60 << 300;
    QTest::newRow("servo voltage maximum") << "EditNapPriv10" << 5000 << 250 << 5000;
    QTest::newRow("servo voltage minimum") << "EditNapPriv1" << 20 << 1 << 20;
    QTest::newRow("servo speed point 3") << "EditRpmPriv3" << 300 << 3 << 300;
    QTest::newRow("column 1 minimum 199") << "EditRpmAdv1" << 199 << 1 << 100;
    QTest::newRow("column 10 maximum") << "EditRpmAdv10" << 20100 << 201 << 20100;
    QTest::newRow("clutch time maximum") << "EditClutchTime" << 2500 << 250 << 2500;
    QTest::newRow("clutch pause 15") << "EditClutchPause" << 15 << 1 << 10;
    QTest::newRow("compensation 255") << "EditKompenz2" << 255 << 255 << 255;
    QTest::newRow("map cell 60") << "Edit149" << 60 << 60 << 60;
    QTest::newRow("lobe 58") << "EditPalec4End" << 58 << 58 << 58;
}

void FormValuesTest::typedValues()
{
    QFETCH(QString, control);
    QFETCH(int, typed);
    QFETCH(int, byte);
    QFETCH(int, shown);
    const FieldBinding &b = binding(control.toLatin1().constData());
    QCOMPARE(int(vorn::storedByte(b, typed)), byte);
    QCOMPARE(vorn::shownValue(b, static_cast<std::uint8_t>(byte)), shown);
}

// Whatever the unit or a file put into a byte, the field shows a value that its 16-bit
// spinner can hold and that stores the very same byte again: showing and reading back
// never rewrites a byte the user did not touch.
void FormValuesTest::everyByteSurvivesShowAndRead()
{
    for (const FieldBinding &b : vorn::fieldBindings()) {
        for (int byte = 0; byte <= 255; ++byte) {
            const int shown = vorn::shownValue(b, static_cast<std::uint8_t>(byte));
            const int expectedByte = b.kind == FieldBinding::Kind::Check ? (byte != 0) : byte;
            QVERIFY2(shown >= std::numeric_limits<std::int16_t>::min()
                         && shown <= std::numeric_limits<std::int16_t>::max(),
                     b.edit.c_str());
            QVERIFY2(vorn::storedByte(b, shown) == expectedByte,
                     qPrintable(QStringLiteral("%1 byte %2").arg(QString::fromStdString(b.edit)).arg(byte)));
        }
    }
}

// A value inside a field's window range comes back as itself or truncated to the byte's
// unit, never wrapped round to a small value.
void FormValuesTest::windowRangesNeverWrap()
{
    for (const FieldBinding &b : vorn::fieldBindings()) {
        const int inside = b.min + ((b.max - b.min) / 2 / b.step) * b.step;
        for (const int v : {b.min, inside, b.max}) {
            const int shown = vorn::shownValue(b, vorn::storedByte(b, v));
            QVERIFY2(shown <= v && v - shown < 100,
                     qPrintable(QStringLiteral("%1 at %2 shows %3").arg(QString::fromStdString(b.edit)).arg(v).arg(shown)));
        }
    }
}

void FormValuesTest::tableCoversEveryFieldOnce()
{
    // 21 scalar fields, 6 per channel, 3 per column or point, 100 map cells.
    QCOMPARE(vorn::fieldBindings().size(), std::size_t(21 + 4 * 6 + 10 * 3 + 100));
    std::set<int> offsets;
    std::set<std::string> names;
    for (const FieldBinding &b : vorn::fieldBindings()) {
        QVERIFY2(offsets.insert(b.offset).second, b.edit.c_str());
        QVERIFY(names.insert(b.edit).second);
        QVERIFY(b.offset > vorn::Off::BikeCode && b.offset < vorn::kImageSize);
        QCOMPARE(b.grouped, b.kind == FieldBinding::Kind::Numeric && b.offset < vorn::Off::Advance);
    }
}

// Where each control's byte sits in the unit's image, written out as numbers: the unit and
// every stored file rely on these places, so neither a constant nor the table may move them.
void FormValuesTest::controlsShowTheirBytes_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("offset");
    const std::pair<const char *, int> places[] = {
        {"EditPocPalcu", 103}, {"EditPocKanalu", 104}, {"EditPilotLight", 107},
        {"CheckBoxInvInput", 108}, {"EditBaseAdv", 109}, {"EditPocSynchro", 110},
        {"EditRpmPulsu", 111}, {"EditRpmKorekce", 112}, {"EditOmez2", 113},
        {"CheckBoxBuzDlouhe", 115}, {"CheckBoxPrivEnable", 116}, {"EditPrivHyster", 117},
        {"CheckBoxAktBlok1", 118}, {"EditTps0", 120}, {"EditTps100", 121},
        {"CheckBoxTpsMapa", 122}, {"EditKompenz1", 123}, {"EditKompenz2", 124},
        {"EditClutchTime", 125}, {"EditClutchPause", 126}, {"CheckBoxAktClutch", 127},
        {"EditPalec1Zac", 130}, {"EditPalec2Zac", 131}, {"EditPalec4Zac", 133},
        {"EditPalec1End", 134}, {"EditPalec3End", 136}, {"EditPalec4End", 137},
        {"CheckBoxPalec1ZacH2", 138}, {"CheckBoxPalec4ZacH2", 141},
        {"CheckBoxPalec1EndH2", 142}, {"CheckBoxPalec4EndH2", 145},
        {"CheckBoxPalec1ZacP2", 146}, {"CheckBoxPalec4ZacP2", 149},
        {"CheckBoxPalec1EndP2", 150}, {"CheckBoxPalec4EndP2", 153},
        {"EditRpmPriv1", 170}, {"EditRpmPriv10", 179}, {"EditNapPriv1", 180},
        {"EditNapPriv10", 189}, {"EditRpmAdv1", 190}, {"EditRpmAdv10", 199},
        {"Edit50", 200}, {"Edit59", 209}, {"Edit60", 210}, {"Edit149", 299},
    };
    for (const auto &[control, offset] : places)
        QTest::newRow(control) << QString::fromLatin1(control) << offset;
}

void FormValuesTest::controlsShowTheirBytes()
{
    QFETCH(QString, control);
    QFETCH(int, offset);
    QCOMPARE(binding(control.toLatin1().constData()).offset, offset);
}

QTEST_GUILESS_MAIN(FormValuesTest)
#include "formvalues_test.moc"
