// The active-cell search and the unit identification texts built from block 0.
#include "link/Identification.h"
#include "link/Tune.h"

#include <QTest>

namespace {

vorn::ParameterImage mapImage()
{
    vorn::ParameterImage image;
    for (int k = 0; k < 10; ++k) {
        image.rpmAdv(k) = static_cast<std::uint8_t>(10 * (k + 1));   // 1000 .. 10000 rpm
        image.servoRpm(k) = static_cast<std::uint8_t>(20 + 10 * k);  // 2000 .. 11000 rpm
    }
    return image;
}

vorn::LiveCell cellAt(int rpm, int percent, bool tpsMap = true)
{
    vorn::LiveValues live;
    live.speed = static_cast<std::uint16_t>(rpm);
    live.tpsPercent = static_cast<std::uint8_t>(percent);
    return vorn::findActiveCell(mapImage(), live, tpsMap);
}

}  // namespace

class TuneTest : public QObject {
    Q_OBJECT
private slots:
    void advanceColumn_data()
    {
        QTest::addColumn<int>("rpm");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("below");
        QTest::newRow("1400: nearer the first") << 1400 << 0 << false;
        QTest::newRow("1500: midpoint goes down") << 1500 << 0 << false;
        QTest::newRow("1600: nearer the second") << 1600 << 1 << false;
        QTest::newRow("900: below the map") << 900 << 0 << true;
        QTest::newRow("1000: on the first point") << 1000 << 0 << false;
        QTest::newRow("10000: on the last point") << 10000 << 9 << false;
        QTest::newRow("12000: beyond the last") << 12000 << 9 << false;
        QTest::newRow("1599: hundreds truncated") << 1599 << 0 << false;
        // 65 500 / 100 = 655 taken as 8 bits is 143: beyond the map again.
        QTest::newRow("65500: 8-bit wrap") << 65500 << 9 << false;
        // 26 000 / 100 = 260 as 8 bits is 4: below the first point.
        QTest::newRow("26000: 8-bit wrap below") << 26000 << 0 << true;
    }
    void advanceColumn()
    {
        QFETCH(int, rpm);
        QFETCH(int, column);
        QFETCH(bool, below);
        const vorn::LiveCell cell = cellAt(rpm, 0);
        QCOMPARE(cell.advanceColumn, column);
        QCOMPARE(cell.belowMap, below);
    }

    void servoColumn_data()
    {
        QTest::addColumn<int>("rpm");
        QTest::addColumn<int>("column");
        QTest::newRow("below the first point: first, no flag") << 900 << 0;
        QTest::newRow("2500 midpoint") << 2500 << 0;
        QTest::newRow("2600") << 2600 << 1;
        QTest::newRow("beyond the last") << 15000 << 9;
    }
    void servoColumn()
    {
        QFETCH(int, rpm);
        QFETCH(int, column);
        QCOMPARE(cellAt(rpm, 0).servoColumn, column);
    }

    void throttleRow_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("tpsMap");
        QTest::addColumn<int>("row");
        QTest::newRow("0%") << 0 << true << 0;
        QTest::newRow("1%: midpoint") << 1 << true << 0;
        QTest::newRow("3% to the 2% row") << 3 << true << 1;
        QTest::newRow("4% to the 5% row") << 4 << true << 2;
        QTest::newRow("90% midpoint to 80%") << 90 << true << 8;
        QTest::newRow("95% to 100%") << 95 << true << 9;
        QTest::newRow("100%") << 100 << true << 9;
        QTest::newRow("sensor error") << 200 << true << 9;
        QTest::newRow("map off: 100% row") << 3 << false << 9;
    }
    void throttleRow()
    {
        QFETCH(int, percent);
        QFETCH(bool, tpsMap);
        QFETCH(int, row);
        QCOMPARE(cellAt(5000, percent, tpsMap).throttleRow, row);
    }

    void identificationTexts_data()
    {
        QTest::addColumn<QByteArray>("block0");   // bytes 0..8
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("single-digit day and month")
            << QByteArray("ABC\x07\x07\x1D\x05\x09\x05", 9) << "ABC07" << " 7. 8.2005" << "09:05";
        QTest::newRow("two-digit fields")
            << QByteArray("XYZ\x0D\x1F\x0C\x18\x17\x3B", 9) << "XYZ13" << "31.12.2024" << "23:59";
        QTest::newRow("unknown month code") << QByteArray("ABC\x01\x01\x01\x00\x00\x00", 9) << "ABC01" << " 1.00.2000" << "00:00";
        QTest::newRow("name cut at a zero byte") << QByteArray("A\0C\x07\x07\x1D\x05\x09\x05", 9) << "A" << " 7. 8.2005" << "09:05";
    }
    void identificationTexts()
    {
        QFETCH(QByteArray, block0);
        QFETCH(QString, version);
        QFETCH(QString, date);
        QFETCH(QString, time);
        vorn::ParameterImage image;
        for (int i = 0; i < block0.size(); ++i)
            image[i] = static_cast<std::uint8_t>(block0[i]);
        const vorn::UnitIdentification id = vorn::identificationFromImage(image);
        QCOMPARE(id.version, version);
        QCOMPARE(id.date, date);
        QCOMPARE(id.time, time);
    }

    void monthCodesAreSumsOfTheAbbreviations()
    {
        const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        QSet<int> codes;
        for (int m = 0; m < 12; ++m) {
            const int code = (months[m][0] + months[m][1] + months[m][2]) % 256;
            codes.insert(code);
            QCOMPARE(vorn::monthFromCode(static_cast<std::uint8_t>(code)), QString::asprintf("%2d", m + 1));
        }
        for (int code = 0; code < 256; ++code)
            if (!codes.contains(code))
                QCOMPARE(vorn::monthFromCode(static_cast<std::uint8_t>(code)), "00");
    }

    void freeTextReplacesTheName()
    {
        vorn::ParameterImage image;
        image[0] = 'A';
        image[1] = 'B';
        image[2] = 'C';
        const QByteArray text = "Race unit #7, tuned 2024";
        for (int i = 0; i < text.size(); ++i)
            image[16 + i] = static_cast<std::uint8_t>(text[i]);
        QCOMPARE(vorn::identificationFromImage(image).version, QString::fromLatin1(text));
        // A full field has no terminator: exactly 30 characters, nothing from byte 46 on.
        for (int i = 0; i < 31; ++i)
            image[16 + i] = static_cast<std::uint8_t>('a' + i % 26);
        const QString full = vorn::identificationFromImage(image).version;
        QCOMPARE(full.size(), 30);
        QVERIFY(full.endsWith(QChar('a' + 29 % 26)));
    }
};

QTEST_GUILESS_MAIN(TuneTest)
#include "tune_test.moc"
