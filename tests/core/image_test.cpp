// Tests of the parameter image: encodings and the clamping rules.
#include "params/ParameterImage.h"

#include <QRandomGenerator>
#include <QTest>

using vorn::Encoding;
using vorn::ParameterImage;
namespace Off = vorn::Off;

Q_DECLARE_METATYPE(Encoding)

namespace {

ParameterImage validImage()
{
    ParameterImage img;
    for (int k = 0; k < 10; ++k) {
        img.rpmAdv(k) = static_cast<std::uint8_t>(10 * (k + 1));
        img.servoRpm(k) = static_cast<std::uint8_t>(12 + 10 * k);
    }
    img.syncMethod() = 4;
    img.lobeCount() = 7;
    return img;
}

void clamp(ParameterImage &img)
{
    std::uint8_t language = 0, com = 1;
    vorn::ClampParameters(img, language, com);
}

}  // namespace

class ImageTest : public QObject {
    Q_OBJECT
private slots:
    void encodingSamples_data();
    void encodingSamples();
    void encodingsRoundTripEveryByte();
    void blocksAndNamedFields();
    void clampSpeedPoints_data();
    void clampSpeedPoints();
    void clampScalarsAndTrigger();
    void clampLanguageAndPort_data();
    void clampLanguageAndPort();
    void clampRandomImagesKeepInvariants();
};

void ImageTest::encodingSamples_data()
{
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<int>("physical");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("shownAgain");
    QTest::newRow("15050 rpm truncates") << Encoding::Rpm100 << 15050 << 150 << 15000;
    QTest::newRow("25000 rpm") << Encoding::Rpm100 << 25000 << 250 << 25000;
    QTest::newRow("1275 mV hysteresis") << Encoding::Mv5 << 1275 << 255 << 1275;
    QTest::newRow("5000 mV servo") << Encoding::Mv20 << 5000 << 250 << 5000;
    QTest::newRow("tps100 2500 mV wraps to 0") << Encoding::Mv10Minus250 << 2500 << 0 << 2500;
    QTest::newRow("tps100 4750 mV") << Encoding::Mv10Minus250 << 4750 << 225 << 4750;
    QTest::newRow("tps100 3000 mV") << Encoding::Mv10Minus250 << 3000 << 50 << 3000;
    QTest::newRow("correction -60") << Encoding::PercentPlus100 << -60 << 40 << -60;
    QTest::newRow("correction +60") << Encoding::PercentPlus100 << 60 << 160 << 60;
    QTest::newRow("clutch 2505 ms") << Encoding::Ms10 << 2505 << 250 << 2500;
    QTest::newRow("flag on") << Encoding::Flag << 1 << 1 << 1;
    QTest::newRow("degrees") << Encoding::Plain << 37 << 37 << 37;
}

void ImageTest::encodingSamples()
{
    QFETCH(Encoding, encoding);
    QFETCH(int, physical);
    QFETCH(int, byte);
    QFETCH(int, shownAgain);
    const std::uint8_t b = vorn::byteFromPhysical(encoding, physical);
    QCOMPARE(int(b), byte);
    QCOMPARE(vorn::physicalFromByte(encoding, b), shownAgain);
}

void ImageTest::encodingsRoundTripEveryByte()
{
    const Encoding all[] = {Encoding::Rpm100, Encoding::Mv10, Encoding::Mv10Minus250, Encoding::Mv20,
                            Encoding::Mv5,    Encoding::Ms10, Encoding::PercentPlus100, Encoding::Plain};
    for (Encoding e : all)
        for (int b = 0; b < 256; ++b) {
            const int v = vorn::physicalFromByte(e, static_cast<std::uint8_t>(b));
            QVERIFY2(vorn::byteFromPhysical(e, v) == b,
                     qPrintable(QStringLiteral("encoding %1 byte %2").arg(int(e)).arg(b)));
        }
    for (int b = 0; b < 256; ++b)
        QCOMPARE(vorn::physicalFromByte(Encoding::Flag, static_cast<std::uint8_t>(b)), b ? 1 : 0);
}

void ImageTest::blocksAndNamedFields()
{
    ParameterImage img;
    img.block(1)[0] = 21;
    img.block(2)[99] = 33;
    img.advance(3, 4) = 44;
    img.startAdvPickup2(3) = 1;
    QCOMPARE(int(img.bikeCode()), 21);
    QCOMPARE(int(img[299]), 33);
    QCOMPARE(int(img[234]), 44);
    QCOMPARE(int(img[153]), 1);
    QCOMPARE(int(img.block(0).size()), 100);
}

void ImageTest::clampSpeedPoints_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("all zero") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
                              << QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    QTest::newRow("all 255") << QList<int>{255, 255, 255, 255, 255, 255, 255, 255, 255, 255}
                             << QList<int>{191, 192, 193, 194, 195, 196, 197, 198, 199, 200};
    QTest::newRow("repeated 10") << QList<int>{10, 10, 10, 40, 50, 60, 70, 80, 90, 100}
                                 << QList<int>{10, 11, 12, 40, 50, 60, 70, 80, 90, 100};
    QTest::newRow("dip after 30") << QList<int>{10, 20, 30, 7, 8, 60, 70, 80, 90, 100}
                                  << QList<int>{10, 20, 30, 31, 32, 60, 70, 80, 90, 100};
    QTest::newRow("first column 201 and 1") << QList<int>{201, 1, 30, 40, 50, 60, 70, 80, 90, 100}
                                            << QList<int>{191, 192, 193, 194, 195, 196, 197, 198, 199, 200};
    QTest::newRow("first column 1") << QList<int>{1, 20, 30, 40, 50, 60, 70, 80, 90, 100}
                                    << QList<int>{3, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    QTest::newRow("last point 201") << QList<int>{12, 20, 30, 40, 60, 80, 100, 120, 140, 201}
                                    << QList<int>{12, 20, 30, 40, 60, 80, 100, 120, 140, 200};
}

void ImageTest::clampSpeedPoints()
{
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    // The advance columns and the servo points follow the same rule.
    for (int first : {Off::RpmAdv, Off::ServoRpm}) {
        ParameterImage img = validImage();
        for (int k = 0; k < 10; ++k)
            img[first + k] = static_cast<std::uint8_t>(before[k]);
        clamp(img);
        QList<int> got;
        for (int k = 0; k < 10; ++k)
            got << img[first + k];
        QCOMPARE(got, after);
    }
}

void ImageTest::clampScalarsAndTrigger()
{
    ParameterImage img = validImage();
    img.tps0() = 250;
    img.tps100() = 251;
    img.advance(0, 0) = 200;   // map cells are not clamped
    img.limiter2() = 255;
    clamp(img);
    QCOMPARE(int(img.tps0()), 250);
    QCOMPARE(int(img.tps100()), 250);
    QCOMPARE(int(img.advance(0, 0)), 200);
    QCOMPARE(int(img.limiter2()), 255);

    // Method 0 forces one lobe, and every lobe number above it comes down.
    img = validImage();
    img.syncMethod() = 0;
    img.lobeCount() = 12;
    img.maxAdvLobe(0) = 7;
    img.startAdvLobe(3) = 12;
    img.maxAdvLobe(2) = 0;   // a lower bound is not clamped
    img.maxAdvPickup2(1) = 1;
    clamp(img);
    QCOMPARE(int(img.lobeCount()), 1);
    QCOMPARE(int(img.maxAdvLobe(0)), 1);
    QCOMPARE(int(img.startAdvLobe(3)), 1);
    QCOMPARE(int(img.maxAdvLobe(2)), 0);
    QCOMPARE(int(img.maxAdvPickup2(1)), 1);   // method 0 uses the second pick-up

    // Pick-up-2 flags survive only for methods 0 and 4.
    for (int method = 0; method <= 5; ++method) {
        img = validImage();
        img.syncMethod() = static_cast<std::uint8_t>(method);
        for (int ch = 0; ch < 4; ++ch)
            img.maxAdvPickup2(ch) = img.startAdvPickup2(ch) = 1;
        img.maxAdvEdge2(2) = 1;
        clamp(img);
        const int expected = (method == 0 || method == 4) ? 1 : 0;
        for (int ch = 0; ch < 4; ++ch) {
            QCOMPARE(int(img.maxAdvPickup2(ch)), expected);
            QCOMPARE(int(img.startAdvPickup2(ch)), expected);
        }
        QCOMPARE(int(img.maxAdvEdge2(2)), 1);
    }
}

void ImageTest::clampLanguageAndPort_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("com");
    QTest::addColumn<int>("languageAfter");
    QTest::addColumn<int>("comAfter");
    QTest::newRow("valid") << 3 << 10 << 3 << 10;
    QTest::newRow("language 7, port 11") << 7 << 11 << 0 << 1;
    QTest::newRow("language 4, port 0 stays") << 4 << 0 << 0 << 0;
    QTest::newRow("255 both") << 255 << 255 << 0 << 1;
}

void ImageTest::clampLanguageAndPort()
{
    QFETCH(int, language);
    QFETCH(int, com);
    QFETCH(int, languageAfter);
    QFETCH(int, comAfter);
    ParameterImage img = validImage();
    auto l = static_cast<std::uint8_t>(language);
    auto c = static_cast<std::uint8_t>(com);
    vorn::ClampParameters(img, l, c);
    QCOMPARE(int(l), languageAfter);
    QCOMPARE(int(c), comAfter);
}

void ImageTest::clampRandomImagesKeepInvariants()
{
    // Offsets the clamp may change; every other byte must come out as it went in.
    QSet<int> clampable;
    for (int k = 0; k < 10; ++k)
        clampable << Off::RpmAdv + k << Off::ServoRpm + k;
    clampable << Off::Tps0 << Off::Tps100 << Off::LobeCount;
    for (int ch = 0; ch < 4; ++ch)
        clampable << Off::MaxAdvLobe + ch << Off::StartAdvLobe + ch << Off::MaxAdvPickup2 + ch
                  << Off::StartAdvPickup2 + ch;

    QRandomGenerator rng(4711);
    for (int round = 0; round < 2000; ++round) {
        ParameterImage img;
        for (auto &b : img.bytes)
            b = static_cast<std::uint8_t>(rng.bounded(256));
        if (round % 3 == 0)
            img.syncMethod() = static_cast<std::uint8_t>(rng.bounded(6));
        const ParameterImage before = img;
        clamp(img);
        for (int first : {Off::RpmAdv, Off::ServoRpm})
            for (int k = 0; k < 10; ++k) {
                QVERIFY(img[first + k] >= k + 3 && img[first + k] <= k + 191);
                if (k > 0)
                    QVERIFY(img[first + k] > img[first + k - 1]);
            }
        QVERIFY(img.tps0() <= 250 && img.tps100() <= 250);
        for (int ch = 0; ch < 4; ++ch) {
            QVERIFY(img.maxAdvLobe(ch) <= img.lobeCount());
            QVERIFY(img.startAdvLobe(ch) <= img.lobeCount());
        }
        for (int o = 0; o < vorn::kImageSize; ++o)
            if (!clampable.contains(o))
                QCOMPARE(int(img[o]), int(before[o]));
        // Clamping is idempotent.
        ParameterImage again = img;
        clamp(again);
        QVERIFY(again == img);
    }
}

QTEST_GUILESS_MAIN(ImageTest)
#include "image_test.moc"
