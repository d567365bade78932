// The datalog CSV: rows from monitor replies, writer and reader round trip, tolerant reading.
#include "datalog/LogFormat.h"

#include "FileTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using vorn::LogRow;

namespace {

LogRow sampleRow(std::int64_t ms, int seed, bool withCell)
{
    LogRow r;
    r.timeMs = ms;
    r.rpm = 1000 + seed;
    r.throttlePercent = 3 + seed;
    r.throttleMv = 400 + seed;
    r.supplyMv = 12000 + seed;
    r.advance = {10 + seed, 11 + seed, 12 + seed, 13 + seed};
    r.servoDesiredMv = 2000 + seed;
    r.servoMeasuredMv = 2100 + seed;
    r.blocking = seed & 1;
    r.shiftLight = seed & 2;
    r.clutchMaster = seed & 4;
    if (withCell) {
        r.mapColumn = seed % 10;
        r.mapRow = 9 - seed % 10;
    }
    return r;
}

const QByteArray kHeader = "time_s,rpm,throttle_percent,throttle_mv,supply_mv,advance_1,advance_2,advance_3,"
                           "advance_4,servo_desired_mv,servo_measured_mv,blocking,shift_light,clutch_master,"
                           "map_column,map_row\n";

}  // namespace

class LogFormatTest : public QObject {
    Q_OBJECT
private slots:
    void rowFromReplyAndBack()
    {
        vorn::MonitorFields f;
        f.rpm = 5432;
        f.tpsPercent = 37;
        f.tpsRaw = 512;            // 2502 mV
        f.supplyMv = 13800;
        f.advance = {21, 0, 35, 7};
        f.servoDesiredRaw = 1023;  // 5000 mV
        f.servoMeasuredRaw = 100;  // 488 mV
        f.blockingActive = 3;
        f.clutchActive = 1;
        vorn::LiveCell cell{4, false, 2, 6};
        const LogRow r = vorn::logRowFrom(f, cell, 1500);
        QCOMPARE(vorn::formatLogRow(r), QByteArray("1.500,5432,37,2502,13800,21,0,35,7,5000,488,1,0,1,4,6"));

        vorn::LiveCell below{0, true, 0, 3};
        QCOMPARE(vorn::formatLogRow(vorn::logRowFrom(f, below, 0)).right(4), QByteArray(",1,,"));
        QCOMPARE(vorn::formatLogRow(vorn::logRowFrom(f, std::nullopt, 0)).right(4), QByteArray(",1,,"));

        // A row played back as monitor fields shows the same values again, for every
        // voltage the converter can report.
        for (int counts = 0; counts <= 1023; ++counts) {
            vorn::MonitorFields g = f;
            g.tpsRaw = g.servoDesiredRaw = g.servoMeasuredRaw = static_cast<std::uint16_t>(counts);
            const LogRow row = vorn::logRowFrom(g, cell, 0);
            const vorn::MonitorFields back = vorn::monitorFieldsFrom(row);
            QCOMPARE(back.tpsRaw, g.tpsRaw);
            QCOMPARE(vorn::logRowFrom(back, cell, 0), row);
        }
    }

    void writerAndReaderRoundTripEveryColumn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("sub/ride.csv");
        std::vector<LogRow> rows;
        for (int i = 0; i < 12; ++i)
            rows.push_back(sampleRow(10'000 + 333 * i, i, i % 3 != 0));
        rows.back().rpm = 65535;
        rows.back().throttlePercent = 255;
        vorn::LogWriter w;
        QVERIFY(w.open(path));
        for (const LogRow &r : rows)
            QVERIFY(w.append(r));
        // Every row is in the file before the writer closes.
        const QByteArray early = filetest::get(path);
        QVERIFY(early.startsWith(kHeader));
        QCOMPARE(early.count('\n'), 13);
        w.close();

        const vorn::LogContents log = vorn::readLog(path);
        QVERIFY2(log.ok, qPrintable(log.error));
        QCOMPARE(log.skippedRows, 0);
        QVERIFY(!log.truncatedTail);
        QCOMPARE(log.rows.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            LogRow expected = rows[i];
            expected.timeMs = 333 * static_cast<std::int64_t>(i);   // counted from the first row
            QCOMPARE(log.rows[i], expected);
        }
    }

    void readerSkipsBadRows_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<bool>("truncated");
        const QByteArray good = "0.000,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2\n";
        QTest::newRow("clean") << good + good << 2 << 0 << false;
        QTest::newRow("crlf and blank line") << "0.000,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,,\r\n\r\n" + good
                                             << 2 << 0 << false;
        QTest::newRow("truncated last line") << good + "1.330,1250,5,6" << 1 << 0 << true;
        QTest::newRow("last line cut after a comma") << good + good.left(good.size() - 4) << 1 << 0 << true;
        QTest::newRow("letters") << good + "0.330,12x0,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2\n" + good
                                 << 2 << 1 << false;
        QTest::newRow("negative") << "0.330,-5,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2\n" + good << 1 << 1 << false;
        QTest::newRow("byte out of range") << "0.330,1200,5,600,12500,256,0,0,0,2000,2000,0,0,0,1,2\n" + good
                                           << 1 << 1 << false;
        QTest::newRow("flag not 0/1") << QByteArray("0.330,1200,5,600,12500,10,0,0,0,2000,2000,2,0,0,1,2\n") << 0 << 1 << false;
        QTest::newRow("cell outside the map") << QByteArray("0.330,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,10,2\n") << 0 << 1
                                              << false;
        QTest::newRow("half a cell") << QByteArray("0.330,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,3,\n") << 0 << 1 << false;
        QTest::newRow("too few fields") << "0.330,1200,5\n" + good << 1 << 1 << false;
        QTest::newRow("too many fields") << QByteArray("0.330,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2,7\n") << 0 << 1
                                         << false;
        QTest::newRow("time with four decimals") << QByteArray("0.3301,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2\n") << 0 << 1
                                                 << false;
        QTest::newRow("time without digits") << QByteArray(".,1200,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2\n") << 0 << 1 << false;
        QTest::newRow("empty number") << QByteArray("0.330,,5,600,12500,10,0,0,0,2000,2000,0,0,0,1,2\n") << 0 << 1 << false;
    }
    void readerSkipsBadRows()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, rows);
        QFETCH(int, skipped);
        QFETCH(bool, truncated);
        // From memory and from a file read in pieces alike.
        QTemporaryDir dir;
        const QString path = dir.filePath("ride.csv");
        filetest::put(path, kHeader + body);
        for (const vorn::LogContents &log : {vorn::parseLog(kHeader + body), vorn::readLog(path)}) {
            QVERIFY(log.ok);
            QCOMPARE(int(log.rows.size()), rows);
            QCOMPARE(log.skippedRows, skipped);
            QCOMPARE(log.truncatedTail, truncated);
            for (const LogRow &r : log.rows)
                QCOMPARE(r.rpm, 1200);
        }
    }

    // A file that is no log is refused on its first line, whatever follows: a pipe whose
    // writer stays open stands for a file too large to read whole.
    void notALogIsRefusedOnItsFirstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("throughPipe");
        QTest::addColumn<int>("problem");
        QTest::newRow("empty") << QByteArray() << false << int(vorn::LogProblem::Empty);
        QTest::newRow("another csv") << QByteArray("rpm,throttle\n1,2\n") << false << int(vorn::LogProblem::NotALog);
        QTest::newRow("header with more on its line") << QByteArray(kHeader).replace('\n', ",x\n") << false
                                                      << int(vorn::LogProblem::NotALog);
        QTest::newRow("no such file") << QByteArray() << false << int(vorn::LogProblem::CannotOpen);
        QTest::newRow("another csv, more to come") << QByteArray("rpm,throttle\n1,2\n") << true
                                                   << int(vorn::LogProblem::NotALog);
        QTest::newRow("no line end, more to come") << QByteArray(4096, 'x') << true << int(vorn::LogProblem::NotALog);
    }
    void notALogIsRefusedOnItsFirstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, throughPipe);
        QFETCH(int, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath("ride.csv");
        if (!throughPipe) {
            if (problem != int(vorn::LogProblem::CannotOpen))
                filetest::put(path, content);
            const vorn::LogContents log = vorn::readLog(path);
            QVERIFY(!log.ok);
            QCOMPARE(int(log.problem), problem);
            QVERIFY(!log.error.isEmpty());
            if (problem != int(vorn::LogProblem::CannotOpen))
                QCOMPARE(int(vorn::parseLog(content).problem), problem);
            return;
        }
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        std::atomic<bool> readerDone{false}, writerClosed{false};
        std::thread writer([&] {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
            if (fd >= 0) {
                (void)!::write(fd, content.constData(), std::size_t(content.size()));
                // The rest of the "file" never comes while the reader waits for it; after
                // ten seconds the pipe closes so that a reader that waits ends at all.
                for (int i = 0; i < 1000 && !readerDone; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                writerClosed = true;
                ::close(fd);
            }
        });
        const vorn::LogContents log = vorn::readLog(path);
        const bool beforeTheEnd = !writerClosed;
        readerDone = true;
        writer.join();
        QCOMPARE(int(log.problem), problem);
        QVERIFY2(beforeTheEnd, "the reader waited for the whole file");
    }

    void fullDiskStopsTheWriterAndKeepsWhatWasWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ride.csv");
        const qint64 rowBytes = vorn::formatLogRow(sampleRow(0, 1, true)).size() + 1;
        int written = 0;
        bool failed = false;
        {
            filetest::FileSizeLimit limit(kHeader.size() + 3 * rowBytes + rowBytes / 2);
            if (!limit.active())
                QSKIP("cannot limit the file size here");
            vorn::LogWriter w;
            QVERIFY(w.open(path));
            for (int i = 0; i < 6 && !failed; ++i) {
                failed = !w.append(sampleRow(i * 330, 1, true));
                written += failed ? 0 : 1;
            }
            QVERIFY(w.failed());
            QVERIFY(!w.errorString().isEmpty());
            QVERIFY(!w.append(sampleRow(9999, 1, true)));   // stays stopped
        }
        QVERIFY(failed);
        QCOMPARE(written, 3);
        const vorn::LogContents log = vorn::readLog(path);
        QVERIFY(log.ok);
        QCOMPARE(int(log.rows.size()), 3);
    }
};

QTEST_GUILESS_MAIN(LogFormatTest)
#include "logformat_test.moc"
