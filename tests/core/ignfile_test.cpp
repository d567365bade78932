// The *.ign parameter file: exact layout, round trips and the reader's edge cases.
#include "files/IgnFile.h"
#include "params/New.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <set>

using vorn::ParameterImage;
namespace Off = vorn::Off;

namespace {

QByteArray readData(const QString &name)
{
    QFile f(QStringLiteral(VORN4_TEST_DATA "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data file");
    return f.readAll();
}

// The image of the example file (tests/data/example.ign).
ParameterImage exampleImage()
{
    ParameterImage img;
    img[Off::BikeCode] = 20;
    img[Off::LobeCount] = 40;
    img[Off::OutputCount] = 4;
    for (int ch = 0; ch < vorn::kChannels; ++ch)
        img[Off::MaxAdvLobe + ch] = img[Off::StartAdvLobe + ch] = 40;
    img[Off::RevsWithoutIgnition] = img[Off::Compensation1] = img[Off::Compensation2] = 40;
    img[Off::BaseAdv] = 40;
    img[Off::Limiter2] = 150;
    img[Off::PilotLight] = 150;
    img[Off::Tps0] = 30;
    img[Off::RpmPulses] = 1;
    img[Off::RpmCorrection] = 100;
    for (int k = 0; k < vorn::kMapSize; ++k)
        img[Off::RpmAdv + k] = static_cast<std::uint8_t>(10 * (k + 1));
    for (int i = 0; i < 100; ++i)
        img[Off::Advance + i] = 20;
    img[Off::ServoHyster] = 60;
    const int servoRpm[] = {10, 20, 30, 40, 60, 80, 100, 120, 140, 160};
    for (int p = 0; p < vorn::kMapSize; ++p) {
        img[Off::ServoRpm + p] = static_cast<std::uint8_t>(servoRpm[p]);
        img[Off::ServoMv + p] = 5;
    }
    return img;
}

// Every byte differs from its neighbours, so a byte written to the wrong offset shows.
ParameterImage patternImage()
{
    ParameterImage img;
    for (int i = 0; i < vorn::kImageSize; ++i)
        img[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return img;
}

// Offsets the file does not carry: block 0 and the reserved bytes of block 1.
bool stored(int offset)
{
    static const std::set<int> reserved = {101, 105, 106, 114, 119, 128, 129};
    return offset >= 100 && !reserved.contains(offset) && !(offset >= 154 && offset <= 169);
}

bool writtenAsFlag(int offset)
{
    return offset == Off::ActClutch || offset == Off::Excitation || offset == Off::TpsMap
           || offset == Off::ActBlok1 || offset == Off::ServoEnable;
}

}  // namespace

class IgnFileTest : public QObject {
    Q_OBJECT
private slots:
    void exampleImageGivesTheExampleFile();
    void startupImageLineByLine();
    void randomImagesRoundTrip();
    void readerEdgeCases_data();
    void readerEdgeCases();
    void hugeWordsAndNumbers();
    void tachometerCorrectionLine();
};

void IgnFileTest::exampleImageGivesTheExampleFile()
{
    const QByteArray golden = readData("example.ign");
    QCOMPARE(vorn::WriteParameterFile(exampleImage()), golden);

    ParameterImage read = patternImage();
    QVERIFY(vorn::ReadParameterFile(golden, read));
    const ParameterImage expected = exampleImage();
    for (int i = 0; i < vorn::kImageSize; ++i)
        QCOMPARE(read[i], stored(i) ? expected[i] : patternImage()[i]);
}

void IgnFileTest::startupImageLineByLine()
{
    ParameterImage img;
    img.bikeCode() = vorn::kStartBikeCode;
    bool pending = false;
    vorn::ApplyBikeSetup(img, pending);
    const QList<QByteArray> actual = vorn::WriteParameterFile(img).split('\n');
    const QList<QByteArray> expected = readData("startup.ign").split('\n');
    QCOMPARE(actual.size(), vorn::kIgnLineCount);
    QCOMPARE(expected.size(), vorn::kIgnLineCount);
    for (int i = 0; i < vorn::kIgnLineCount; ++i)
        if (actual[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("line %1: \"%2\" instead of \"%3\"")
                                 .arg(i + 1).arg(QString::fromLatin1(actual[i]), QString::fromLatin1(expected[i]))));
}

// The correction is signed in the file: a negative one keeps the five-character column.
void IgnFileTest::tachometerCorrectionLine()
{
    const std::pair<int, QByteArray> cases[] = {
        {40, "RPM            3   -60 \r"}, {99, "RPM            3    -1 \r"},
        {160, "RPM            3    60 \r"}};
    for (const auto &[byte, line] : cases) {
        ParameterImage img = exampleImage();
        img[Off::RpmPulses] = 3;
        img[Off::RpmCorrection] = static_cast<std::uint8_t>(byte);
        const QByteArray file = vorn::WriteParameterFile(img);
        QCOMPARE(file.split('\n').value(21), line);
        ParameterImage read;
        QVERIFY(vorn::ReadParameterFile(file, read));
        QCOMPARE(int(read[112]), byte);
    }
}

void IgnFileTest::randomImagesRoundTrip()
{
    QRandomGenerator rng(4711);
    for (int round = 0; round < 200; ++round) {
        ParameterImage original;
        ParameterImage target;
        for (int i = 0; i < vorn::kImageSize; ++i) {
            original[i] = static_cast<std::uint8_t>(rng.bounded(256));
            target[i] = static_cast<std::uint8_t>(rng.bounded(256));
        }
        const ParameterImage before = target;
        QVERIFY(vorn::ReadParameterFile(vorn::WriteParameterFile(original), target));
        for (int i = 0; i < vorn::kImageSize; ++i) {
            int expected = before[i];
            if (stored(i))
                expected = writtenAsFlag(i) ? (original[i] != 0) : original[i];
            if (target[i] != expected)
                QFAIL(qPrintable(QStringLiteral("round %1, offset %2: %3 instead of %4")
                                     .arg(round).arg(i).arg(target[i]).arg(expected)));
        }
    }
}

void IgnFileTest::readerEdgeCases_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("keyFound");
    QTest::addColumn<QString>("changes");   // "offset=byte,..."; every other byte unchanged

    const QByteArray key = "ZEPHALON_KEY   40 \r\n";
    QTest::newRow("hysteresis 305 is byte 61") << key + "SERVO_HYSTER  305" << true << "117=61";
    QTest::newRow("key 39 then 40") << QByteArray("ZEPHALON_KEY 39 BASE_ADV 5\r\nZEPHALON_KEY 40 LIMITER2 99")
                                    << true << "113=99";
    QTest::newRow("version by low 16 bits") << QByteArray("ZEPHALON_KEY 65576 BASE_ADV 5") << true << "109=5";
    QTest::newRow("no key line") << QByteArray("BASE_ADV 5\r\nLIMITER2 99") << false << "";
    QTest::newRow("key only version 39") << QByteArray("ZEPHALON_KEY 39 BASE_ADV 5") << false << "";
    QTest::newRow("key in lower case") << QByteArray("zephalon_key 40 BASE_ADV 5") << false << "";
    QTest::newRow("key without number, later key")
        << QByteArray("ZEPHALON_KEY ZEPHALON_KEY 40 BASE_ADV 5") << true << "109=5";
    QTest::newRow("key line only") << key << true << "";
    QTest::newRow("lower-case keyword skipped") << key + "base_adv 5 LIMITER2 7" << true << "113=7";
    QTest::newRow("RPM 1 -20") << key + "RPM 1 -20" << true << "111=1,112=80";
    QTest::newRow("pilot light 70000") << key + "PILOT_LIGHT 70000" << true << "107=44";
    QTest::newRow("last occurrence wins") << key + "BASE_ADV 5 BASE_ADV 6" << true << "109=6";
    QTest::newRow("tps at both ends") << key + "TPS 2500 4750" << true << "120=250,121=225";
    QTest::newRow("tps 100 below 2500 wraps") << key + "TPS 300 2490" << true << "120=30,121=255";
    QTest::newRow("limiter unscaled, low 8 bits") << key + "LIMITER2 300" << true << "113=44";
    QTest::newRow("record cut by keyword") << key + "CLUTCH 500 BASE_ADV 7" << true << "125=50,109=7";
    QTest::newRow("record cut by text") << key + "CLUTCH 500 abc 700" << true << "125=50";
    QTest::newRow("digits then text is no number") << key + "BASE_ADV 12abc" << true << "";
    QTest::newRow("record cut by end of file") << key + "SERVO_MV 100 200" << true << "180=5,181=10";
    QTest::newRow("stray numbers skipped") << key + "17 18 BASE_ADV 9 19" << true << "109=9";
    QTest::newRow("bike order") << key + "BIKE 1 2 3 4 5 6 7 8 9 10" << true
                                << "100=1,102=2,103=3,104=4,130=5,138=6,146=7,134=8,142=9,150=10";
    QTest::newRow("bike tail") << key + "BIKE" + QByteArray(" 0").repeated(28) + " 41 42 43 44" << true
                               << "100=0,102=0,103=0,104=0,130=0,138=0,146=0,134=0,142=0,150=0,"
                                  "131=0,139=0,147=0,135=0,143=0,151=0,132=0,140=0,148=0,136=0,"
                                  "144=0,152=0,133=0,141=0,149=0,137=0,145=0,153=0,"
                                  "110=41,123=42,124=43,108=44";
}

void IgnFileTest::readerEdgeCases()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, keyFound);
    QFETCH(QString, changes);

    ParameterImage expected = patternImage();
    for (const QString &change : changes.split(',', Qt::SkipEmptyParts)) {
        const QStringList parts = change.split('=');
        expected[parts[0].toInt()] = static_cast<std::uint8_t>(parts[1].toInt());
    }
    ParameterImage img = patternImage();
    QCOMPARE(vorn::ReadParameterFile(content, img), keyFound);
    for (int i = 0; i < vorn::kImageSize; ++i)
        if (img[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("offset %1: %2 instead of %3").arg(i).arg(img[i]).arg(expected[i])));
}

void IgnFileTest::hugeWordsAndNumbers()
{
    // Far beyond any fixed word buffer: a keyword-like word, a number of 100 000 digits.
    const QByteArray longWord = "BASE_ADV" + QByteArray(100000, 'X');
    const QByteArray longNumber = QByteArray(100000, '0') + "65543";   // low 16 bits: 7
    ParameterImage img = patternImage();
    QVERIFY(vorn::ReadParameterFile("ZEPHALON_KEY 40 " + longWord + " 5 BASE_ADV " + longNumber, img));
    ParameterImage expected = patternImage();
    expected[Off::BaseAdv] = 7;
    QCOMPARE(img, expected);
}

QTEST_GUILESS_MAIN(IgnFileTest)
#include "ignfile_test.moc"
