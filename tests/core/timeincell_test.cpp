// Time in cell over a synthetic log, its file beside the log, and the replay clock.
#include "datalog/LogPlayer.h"
#include "datalog/TimeInCell.h"

#include "FileTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using vorn::LogRow;

namespace {

LogRow row(std::int64_t ms, int rpm, int tps, int column = -1, int mapRow = -1)
{
    LogRow r;
    r.timeMs = ms;
    r.rpm = rpm;
    r.throttlePercent = tps;
    if (column >= 0) {
        r.mapColumn = column;
        r.mapRow = mapRow;
    }
    return r;
}

// Speed points 1000, 2000 ... 10000 rpm for the map and the servo.
vorn::ParameterImage evenImage()
{
    vorn::ParameterImage image;
    for (int k = 0; k < vorn::kMapSize; ++k) {
        image[vorn::Off::RpmAdv + k] = static_cast<std::uint8_t>(10 * (k + 1));
        image[vorn::Off::ServoRpm + k] = static_cast<std::uint8_t>(10 * (k + 1));
    }
    return image;
}

// 2000 rpm at 5 % is cell (row 2, column 1); 5000 rpm at 40 % is (6, 4); 900 rpm is below
// the map (servo point 0). Row 4 carries a logged cell (3, 7) that differs from the search;
// then the monitor pauses for 3 s (a transfer).
const std::vector<LogRow> kRide = {row(0, 2000, 5),    row(330, 2000, 5),      row(660, 5000, 40),
                                   row(990, 900, 5),   row(1320, 5000, 40, 7, 3), row(4320, 2000, 5),
                                   row(4650, 2000, 5)};

}  // namespace

class TimeInCellTest : public QObject {
    Q_OBJECT
private slots:
    void totalsOverASyntheticLog()
    {
        const vorn::TimeInCell t = vorn::timeInCellOfRows(kRide, kRide.size(), evenImage(), true);
        QCOMPARE(t.cellMs(2, 1), 990);
        QCOMPARE(t.cellMs(6, 4), 330);
        QCOMPARE(t.cellMs(3, 7), 1000);   // the 3 s pause counts at most a second
        QCOMPARE(t.cellMs(6, 7), 0);
        QCOMPARE(t.totalMs(), 2650);      // the below-map 330 ms included
        QCOMPARE(t.servoMs(1), 990);
        QCOMPARE(t.servoMs(4), 1330);
        QCOMPARE(t.servoMs(0), 330);
        QCOMPARE(t.largestCellMs(), 1000);
        QCOMPARE(t.cellShare(2, 1), 990.0 / 2650.0);

        // A part of the log counts only what was played; without the TPS map every
        // reply is in the 100 % row.
        const vorn::TimeInCell part = vorn::timeInCellOfRows(kRide, 3, evenImage(), true);
        QCOMPARE(part.totalMs(), 660);
        QCOMPARE(part.cellMs(2, 1), 660);
        const vorn::TimeInCell flat = vorn::timeInCellOfRows(kRide, 3, evenImage(), false);
        QCOMPARE(flat.cellMs(9, 1), 660);

        vorn::TimeInCell broken;
        broken.addSample(0, vorn::liveCellOf(kRide[0], evenImage(), true));
        broken.breakSequence();
        broken.addSample(330, vorn::liveCellOf(kRide[0], evenImage(), true));
        QCOMPARE(broken.totalMs(), 0);
        broken.addSample(500, vorn::liveCellOf(kRide[0], evenImage(), true));
        QCOMPARE(broken.cellMs(2, 1), 170);
    }

    void countsAreKeptBesideTheirLog()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath("2026-12-08_12-00-00.csv");
        QCOMPARE(vorn::timeInCellPathFor(log), dir.filePath("2026-12-08_12-00-00.cells"));
        const vorn::TimeInCell t = vorn::timeInCellOfRows(kRide, kRide.size(), evenImage(), true);
        QVERIFY(!vorn::loadTimeInCell(log));
        QVERIFY(vorn::saveTimeInCell(t, log));
        const auto back = vorn::loadTimeInCell(log);
        QVERIFY(back);
        QVERIFY(*back == t);
        QCOMPARE(back->cellMs(3, 7), 1000);

        const QByteArray text = t.serialize();
        QVERIFY(!vorn::TimeInCell::parse(text.left(text.size() - 6)));
        QVERIFY(!vorn::TimeInCell::parse(QByteArray(text).replace("map,", "map,x")));
        QVERIFY(!vorn::TimeInCell::parse("time_s,rpm\n"));
        // Cells that add up to more than the total: its shares would pass 100 %.
        QVERIFY(!vorn::TimeInCell::parse(QByteArray(text).replace("total," + QByteArray::number(t.totalMs()), "total,999")));
    }

    void replayClockFollowsTheSpeed()
    {
        std::vector<LogRow> rows;
        for (int i = 0; i <= 10; ++i)
            rows.push_back(row(330 * i, 1000 + i, 0));
        vorn::LogPlayer p;
        p.load(rows);
        QVERIFY(!p.playing());
        QVERIFY(p.advance(1000).empty());   // paused: nothing moves
        p.play();
        QVERIFY(p.advance(300).empty());
        auto s = p.advance(30);
        QCOMPARE(s.first, std::size_t(1));
        QCOMPARE(s.last, std::size_t(2));
        p.setSpeed(16);
        s = p.advance(55);                  // 880 ms of log: rows at 660 and 990
        QCOMPARE(s.first, std::size_t(2));
        QCOMPARE(s.last, std::size_t(4));
        QCOMPARE(p.current().rpm, 1003);
        p.seek(5);
        p.setSpeed(4);
        s = p.advance(100);                 // from 1650 to 2050 ms
        QCOMPARE(s.first, std::size_t(6));
        QCOMPARE(s.last, std::size_t(7));
        p.advance(100000);
        QCOMPARE(p.position(), std::size_t(10));
        QVERIFY(!p.playing());              // the end pauses
        p.play();                           // and playing again starts over
        QCOMPARE(p.position(), std::size_t(0));
    }
};

QTEST_GUILESS_MAIN(TimeInCellTest)
#include "timeincell_test.moc"
