// The log workbench's rules without widgets: values at and between moments, what a graph
// draws per pixel column, the cell histogram, and markers kept beside a log.
#include "datalog/LogAnalysis.h"
#include "datalog/Markers.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace vorn;

namespace {

LogRow row(std::int64_t ms, int rpm, bool blocking = false, std::optional<int> mapRow = {}, std::optional<int> mapColumn = {},
           int throttle = 0)
{
    LogRow r;
    r.timeMs = ms;
    r.rpm = rpm;
    r.blocking = blocking;
    r.mapRow = mapRow;
    r.mapColumn = mapColumn;
    r.throttlePercent = throttle;
    return r;
}

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::abs(a - b) < 1e-9;
}

}  // namespace

class LogAnalysisTest : public QObject {
    Q_OBJECT
private slots:
    void valuesAtAndBetween();
    void decimationKeepsSpikes();
    void cellHistogram();
    void markersBesideALog();
};

void LogAnalysisTest::valuesAtAndBetween()
{
    // rpm 1000, 2000, 4000 at 0, 1, 3 s; blocking on at 1 s; map row known only at 1 s.
    const LogTable log = logTableOf({row(0, 1000), row(1000, 2000, true, 4, 2), row(3000, 4000)});
    const double nan = kNoValue;
    struct Case {
        const char *name;
        int channel;
        double from, to;   // valueAt(from); rangeStats(from, to)
        double at, min, max, mean;
        int count;
    };
    // The figures between the cursors include the values at both cursors: between two rows
    // those are interpolated (a held channel keeps the earlier row's value) and may be the
    // extreme of the stretch.
    const Case cases[] = {
        {"maximum at cursor B between rows", ChRpm, 0.5, 2.0, 1500, 1500, 3000, 6500.0 / 3, 1},
        {"minimum at cursor A, a row at B", ChRpm, 2.0, 3.0, 3000, 3000, 4000, 3500, 1},
        {"both cursors between the same two rows", ChRpm, 1.5, 2.5, 2500, 2500, 3500, 3000, 0},
        {"cursors on rows count each row once", ChRpm, 1.0, 0.0, 2000, 1000, 2000, 1500, 2},
        {"one cursor", ChRpm, 2.0, 2.0, 3000, 3000, 3000, 3000, 0},
        {"a flag holds the earlier row", ChBlocking, 2.5, 0.5, 1, 0, 1, 2.0 / 3, 1},
        {"before the first row", ChRpm, -0.1, -0.5, nan, nan, nan, nan, 0},
        {"a cursor after the last row has no value", ChRpm, 3.1, 2.9, nan, 3900, 4000, 3950, 1},
        {"rows without a map cell count but give no value", ChMapRow, 1.0, 3.0, 4, 4, 4, 4, 2},
    };
    for (const Case &c : cases) {
        const double at = valueAt(log, c.channel, c.from);
        const RangeStats s = rangeStats(log, c.channel, c.from, c.to);
        QVERIFY2(same(at, c.at), qPrintable(QStringLiteral("%1: %2").arg(c.name).arg(at)));
        QVERIFY2(same(s.min, c.min) && same(s.max, c.max) && same(s.mean, c.mean) && s.count == c.count,
                 qPrintable(QStringLiteral("%1: %2 %3 %4 %5").arg(c.name).arg(s.min).arg(s.max).arg(s.mean).arg(s.count)));
    }
}

void LogAnalysisTest::decimationKeepsSpikes()
{
    struct Case {
        const char *name;
        int rows;
        int columns;
        int spikeAt;   // row with 9000 rpm; the others 1000
    };
    const Case cases[] = {
        {"few rows: every row a point", 50, 400, 20},
        {"many rows: a spike narrower than a pixel still drawn", 100000, 300, 54321},
        {"spike on the last row", 100000, 300, 99999},
    };
    for (const Case &c : cases) {
        std::vector<LogRow> rows;
        for (int i = 0; i < c.rows; ++i)
            rows.push_back(row(10LL * i, i == c.spikeAt ? 9000 : 1000));
        const LogTable log = logTableOf(std::move(rows));
        const auto pts = decimate(log, ChRpm, 0, log.end(), c.columns);
        double high = 0;
        for (const PlotPoint &p : pts)
            high = std::max(high, p.y);
        QVERIFY2(high == 9000, c.name);
        if (c.rows < c.columns)
            QCOMPARE(static_cast<int>(pts.size()), c.rows);
        else
            QVERIFY2(static_cast<int>(pts.size()) <= 2 * c.columns + 4, c.name);
        for (std::size_t i = 1; i < pts.size(); ++i)
            QVERIFY2(pts[i].x >= pts[i - 1].x, c.name);
    }

    // A long, noisy log with stretches without a map cell: the graph drawn from the blocks'
    // summaries is the one drawn walking every row, whatever the window and its width.
    std::vector<LogRow> noisy;
    for (int i = 0; i < 50000; ++i) {
        const int wobble = (i * 7919) % 613;
        const bool inMap = (i / 700) % 5 != 3;
        noisy.push_back(row(20LL * i + (i * 31) % 7, 3000 + wobble, false, inMap ? std::optional<int>(wobble % 10) : std::nullopt));
    }
    const LogTable summarised = logTableOf(std::move(noisy));
    LogTable byRows = summarised;
    byRows.blocks = {};
    const struct Window {
        double from, to;
        int columns;
    } windows[] = {{0, summarised.end(), 1280}, {0, summarised.end(), 97}, {3.3, 517.9, 640}, {400.01, 400.9, 300}};
    for (const Window &w : windows)
        for (int channel : {int(ChRpm), int(ChMapRow)}) {
            const auto fast = decimate(summarised, channel, w.from, w.to, w.columns);
            const auto slow = decimate(byRows, channel, w.from, w.to, w.columns);
            QCOMPARE(fast.size(), slow.size());
            for (std::size_t i = 0; i < fast.size(); ++i)
                QVERIFY2(fast[i].x == slow[i].x && same(fast[i].y, slow[i].y),
                         qPrintable(QStringLiteral("channel %1, %2 columns, point %3").arg(channel).arg(w.columns).arg(i)));
        }
}

void LogAnalysisTest::cellHistogram()
{
    // Row 9 / column 3 for rows at 0, 0.5, 1.0 s; then a 5 s silence; row 9 / column 3 again
    // at 6.0 s, then row 0 / column 0 at 6.5 and 7.0 s. Throttle 100 % except the 1.0 s row.
    const LogTable log = logTableOf({row(0, 1000, false, 9, 3, 100), row(500, 1200, false, 9, 3, 100),
                                     row(1000, 1400, false, 9, 3, 20), row(6000, 1600, false, 9, 3, 100),
                                     row(6500, 1800, false, 0, 0, 100), row(7000, 2000, false, 0, 0, 100)});
    struct Case {
        const char *name;
        RowFilter filter;
        int mapRow, mapColumn;
        double seconds;
        int samples;
        double min, max, mean;
        int periods;
    };
    const Case cases[] = {
        {"a pause counts one second and ends a stretch", {}, 9, 3, 0.5 + 0.5 + 1.0 + 0.5, 4, 1000, 1600, 1300, 2},
        {"the last row has no time of its own", {}, 0, 0, 0.5, 2, 1800, 2000, 1900, 1},
        {"filter: throttle at least 90", {ChThrottlePercent, Compare::AtLeast, 90}, 9, 3, 1.5, 3, 1000, 1600,
         3800.0 / 3, 2},
        {"filter: throttle below 90", {ChThrottlePercent, Compare::Below, 90}, 9, 3, 1.0, 1, 1400, 1400, 1400, 1},
    };
    for (const Case &c : cases) {
        const CellHistogram h = vorn::cellHistogram(log, ChRpm, c.filter);
        const CellStats &s = h.cells[static_cast<std::size_t>(c.mapRow)][static_cast<std::size_t>(c.mapColumn)];
        QVERIFY2(same(s.seconds, c.seconds) && s.samples == c.samples,
                 qPrintable(QStringLiteral("%1: %2 s, %3").arg(c.name).arg(s.seconds).arg(s.samples)));
        QVERIFY2(same(s.min, c.min) && same(s.max, c.max) && same(s.mean(), c.mean), c.name);
        QCOMPARE(static_cast<int>(cellPeriods(log, c.mapRow, c.mapColumn, c.filter).size()), c.periods);
    }
}

void LogAnalysisTest::markersBesideALog()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("ride.csv");
    QCOMPARE(markersPathFor(log), dir.filePath("ride.markers.csv"));
    const std::vector<LogMarker> notes = {
        {12.5, QStringLiteral("second gear")},
        {3.25, QStringLiteral("misfire, \"maybe\"")},
        {40.0, QString()},
        {41.0, QStringLiteral("two\nlines")},
    };
    for (const LogMarker &m : notes)
        QVERIFY(appendMarker(log, m));
    const std::vector<LogMarker> back = loadMarkers(log);
    QCOMPARE(back.size(), notes.size());
    // Sorted by time; a line break became a space; quotes and commas kept.
    QCOMPARE(back[0], notes[1]);
    QCOMPARE(back[1], notes[0]);
    QCOMPARE(back[2], notes[2]);
    QCOMPARE(back[3].note, QStringLiteral("two lines"));
    // A line that cannot be read is left out, the rest stays.
    QCOMPARE(parseMarkers("time_s,note\nabc,x\n5.0,ok\n\"7,broken\n").size(), std::size_t(1));
}

QTEST_MAIN(LogAnalysisTest)
#include "loganalysis_test.moc"
