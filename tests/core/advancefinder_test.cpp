// The advance finder on synthetic pulls with a known best advance in every cell: the plan,
// the fit, the interval, the ceiling and why a cell stays undecided.
#include "finder/AdvanceFinder.h"
#include "finder/AdvanceFit.h"
#include "link/ActiveCell.h"
#include "params/New.h"
#include "support/SyntheticPulls.h"

#include <QTest>

#include <cmath>
#include <optional>

using namespace vorn::finder;

namespace {

constexpr int kRow = kFullThrottleRow;

// The engine of the synthetic pulls with an ignition: in each cell of the full-throttle row
// its best advance lies `bestOffset` above the base map's cell; away from it the torque
// falls by 0.15 % per degree squared when retarded and `overFactor` times that when
// over-advanced.
struct Engine {
    vorn::ParameterImage base;
    double bestOffset = 0;
    double overFactor = 1;

    vorn::LiveCell cellAt(double rpm) const
    {
        vorn::LiveValues live;
        live.speed = static_cast<std::uint16_t>(rpm);
        live.tpsPercent = 100;
        return vorn::findActiveCell(base, live, false);
    }
    double best(double rpm) const
    {
        const vorn::LiveCell c = cellAt(rpm);
        return base[vorn::Off::Advance + 10 * kRow + c.advanceColumn] + bestOffset;
    }
    // The speed gain with `map` in the unit.
    double rate(const vorn::ParameterImage &map, double rpm) const
    {
        const vorn::LiveCell c = cellAt(rpm);
        const double d = map[vorn::Off::Advance + 10 * kRow + c.advanceColumn] - best(rpm);
        return synth::torqueCurve(rpm) * (1 - 0.0015 * (d > 0 ? overFactor : 1) * d * d);
    }
};

// A log of `pulls` pulls from 4,000 rpm to `topRpm` with `map` in the unit, each reply with
// the advance the unit fired at and the cell the program found for it.
// Every `lateEvery`-th reply (none when 0) answered 120 ms after the host asked, as on a
// busy host: its time is the request's, its speed a later one's. With `edgeLag` the first
// reply in each new cell still carries the advance of the cell before (the unit judged its
// own speed, a few rpm lower, at the edge).
RecordedLog ridden(const Engine &engine, const vorn::ParameterImage &map, int pulls, int topRpm, unsigned seed,
                   std::int64_t startMs, int lateEvery, bool edgeLag = false)
{
    RecordedLog log;
    std::int64_t t = startMs;
    const synth::Run run([&](double n) { return engine.rate(map, n); }, 4000, topRpm);
    for (int p = 0; p < pulls; ++p) {
        t = synth::appendSteady(log.rows, t, 4, 3800, -20, 0);
        t = synth::appendRun(log.rows, run, t, {10, 2, 37.0 * (p + seed % 7), seed * 31 + p});
        t = synth::appendSteady(log.rows, t, 12, topRpm - 300, -500, 0);
    }
    for (vorn::LogRow &row : log.rows) {
        vorn::LiveValues live;
        live.speed = static_cast<std::uint16_t>(row.rpm);
        live.tpsPercent = static_cast<std::uint8_t>(row.throttlePercent);
        const vorn::LiveCell cell = vorn::findActiveCell(map, live, false);
        row.mapRow = cell.throttleRow;
        row.mapColumn = cell.advanceColumn;
        row.advance.fill(map[vorn::Off::Advance + 10 * cell.throttleRow + cell.advanceColumn]);
    }
    for (std::size_t i = log.rows.size() - 1; edgeLag && i > 0; --i) {
        const vorn::LogRow &before = log.rows[i - 1];
        vorn::LogRow &row = log.rows[i];
        if (row.throttlePercent == 100 && before.throttlePercent == 100 && row.mapColumn != before.mapColumn)
            row.advance = before.advance;
    }
    for (std::size_t i = 1; lateEvery > 0 && i < log.rows.size(); i += static_cast<std::size_t>(lateEvery))
        log.rows[i].timeMs -= 120;
    return log;
}

}  // namespace

class AdvanceFinderTest : public QObject {
    Q_OBJECT
private slots:
    void knownBest_data();
    void knownBest();
    void rowFit_data();
    void rowFit();
};

void AdvanceFinderTest::knownBest_data()
{
    QTest::addColumn<int>("variants");       // ridden: 3, or 2 (the most advanced left out)
    QTest::addColumn<double>("bestOffset");  // the engine's best over the base map
    QTest::addColumn<double>("overFactor");
    QTest::addColumn<int>("ceilingOffset");
    QTest::addColumn<int>("topRpm");
    QTest::addColumn<int>("expectProposed"); // over the base map; 99: near the best
    QTest::addColumn<bool>("expectBracketed");
    QTest::addColumn<int>("topCell");        // what the 10,000 rpm cell says: 0 decided, else Undecided
    QTest::addColumn<int>("startS");         // the logs' first time: a run's logs count from its start
    QTest::addColumn<int>("lateEvery");      // every n-th reply late (0: none; -1: each cell's first reply
                                             // with the advance of the cell before)

    // Steps of 5 degrees: the variants try the base -5, 0 and +5 (or the ceiling).
    QTest::newRow("bracketed") << 3 << 1.0 << 1.0 << 4 << 10900 << 99 << true << 0 << 0 << 0;
    QTest::newRow("bracketed, logged late in a run") << 3 << 1.0 << 1.0 << 4 << 10900 << 99 << true << 0 << 600 << 0;
    QTest::newRow("bracketed, some replies late") << 3 << 1.0 << 1.0 << 4 << 10900 << 99 << true << 0 << 0 << 17;
    QTest::newRow("bracketed, the advance lags at cell edges") << 3 << 1.0 << 1.0 << 4 << 10900 << 99 << true << 0 << 0 << -1;
    QTest::newRow("bracketed, over-advance twice as dear") << 3 << -1.0 << 2.0 << 4 << 10900 << 99 << true << 0 << 0 << 0;
    // At most one step beyond the most advanced tried.
    QTest::newRow("best beyond tried") << 3 << 12.0 << 1.0 << 20 << 10900 << 10 << false << 0 << 0 << 0;
    // The plan holds the +3 variant at the ceiling; the proposal stays there too.
    QTest::newRow("ceiling below best") << 3 << 8.0 << 1.0 << 2 << 10900 << 2 << false << 0 << 0 << 0;
    QTest::newRow("two advances only") << 2 << 1.0 << 1.0 << 4 << 10900 << 0 << false
                                       << int(Undecided::FewAdvances) << 0 << 0;
    // The 10,000 rpm cell starts at 9,600 rpm; pulls to 9,750 barely enter it.
    QTest::newRow("cell barely crossed") << 3 << 1.0 << 1.0 << 4 << 9750 << 99 << true << int(Undecided::FewPulls) << 0 << 0;
}

void AdvanceFinderTest::knownBest()
{
    QFETCH(int, variants);
    QFETCH(double, bestOffset);
    QFETCH(double, overFactor);
    QFETCH(int, ceilingOffset);
    QFETCH(int, topRpm);
    QFETCH(int, expectProposed);
    QFETCH(bool, expectBracketed);
    QFETCH(int, topCell);
    QFETCH(int, startS);
    QFETCH(int, lateEvery);

    Engine engine;
    vorn::LoadDefaults(engine.base);
    engine.bestOffset = bestOffset;
    engine.overFactor = overFactor;

    PlanSettings planSettings;
    planSettings.ceiling.offsetDeg = ceilingOffset;
    planSettings.stepDeg = 5;
    const std::vector<Variant> planned = plan(engine.base, planSettings);
    QCOMPARE(planned.size(), 3u);
    std::vector<RecordedLog> logs;
    for (int v = 0; v < variants; ++v) {
        for (int c = 0; c < vorn::kMapSize; ++c) {
            const int base = engine.base.advance(kRow, c);
            QVERIFY(planned[v].rowAdvance[c] <= base + ceilingOffset);   // never above the ceiling
            QCOMPARE(planned[v].rowAdvance[c], std::max(0, std::min(base + 5 * (v - 1), base + ceilingOffset)));
        }
        logs.push_back(ridden(engine, planned[v].image, 3, topRpm, 11 * v + 1, 1000LL * startS, std::max(0, lateEvery),
                              lateEvery < 0));
    }

    AnalysisSettings settings;
    settings.ceiling = planSettings.ceiling;
    settings.stepDeg = planSettings.stepDeg;
    const Analysis result = analyse(logs, engine.base, settings);
    QCOMPARE(result.pulls, 3 * variants);
    const vorn::ParameterImage proposal = propose(engine.base, result);
    // The pulls begin at 4,000 rpm, in the cell of that speed: it is not judged, and says why.
    QCOMPARE(int(result.cells[3].why), int(Undecided::PullsBeganThere));
    for (int c = 4; c < vorn::kMapSize; ++c) {
        const CellResult &cell = result.cells[c];
        const int base = engine.base.advance(kRow, c);
        const double best = base + bestOffset;
        qInfo("%5d rpm: best %.2f [%.2f, %.2f] true %.1f, proposed %d (%s)", cell.rpm, cell.bestAdvance,
              cell.intervalLow, cell.intervalHigh, best, cell.proposed, cell.decided() ? "decided" : "undecided");
        QVERIFY(cell.proposed <= base + ceilingOffset);
        if (c == 9 && topCell != 0) {
            QCOMPARE(int(cell.why), topCell);
            QCOMPARE(int(proposal[vorn::Off::Advance + 10 * kRow + c]), base);   // an undecided cell keeps the base
            continue;
        }
        if (expectProposed == 0) {
            QCOMPARE(int(cell.why), int(Undecided::FewAdvances));
            continue;
        }
        QVERIFY(cell.decided());
        QCOMPARE(cell.bracketed, expectBracketed);
        QCOMPARE(int(proposal[vorn::Off::Advance + 10 * kRow + c]), cell.proposed);
        if (expectProposed == 99) {
            // One round of three advances: within a degree, and the interval holds the truth.
            QVERIFY2(std::abs(cell.bestAdvance - best) <= 1.0, qPrintable(QString::number(cell.bestAdvance - best)));
            QVERIFY(cell.intervalLow <= best && best <= cell.intervalHigh);
            QVERIFY(std::abs(cell.proposed - best) <= 1.5);
        } else {
            QCOMPARE(cell.proposed, base + expectProposed);
        }
    }
    // Nothing but the chosen row changes.
    for (int r = 0; r < kRow; ++r)
        for (int c = 0; c < vorn::kMapSize; ++c)
            QCOMPARE(proposal[vorn::Off::Advance + 10 * r + c], engine.base[vorn::Off::Advance + 10 * r + c]);
}

// Two rounds' points of a row of six cells on parabolas, fitted straight: the first round far
// down the retard flank, the second around the best.
void AdvanceFinderTest::rowFit_data()
{
    QTest::addColumn<int>("spoiledCell");   // a cell whose point 2 degrees over its best reads 3 % high; -1 none
    QTest::newRow("clean") << -1;
    QTest::newRow("one point spoiled") << 2;
    QTest::newRow("one point spoiled in the last cell") << 5;
}

void AdvanceFinderTest::rowFit()
{
    QFETCH(int, spoiledCell);
    std::vector<std::vector<FitPoint>> row;
    std::vector<double> tops;
    for (int c = 0; c < 6; ++c) {
        tops.push_back(23 + 1.5 * c);
        std::vector<FitPoint> points;
        for (double d : {-9.0, -6.0, -3.0, -2.0, 0.0, 2.0}) {
            FitPoint p{std::round(tops.back()) + d, 0, 0.001};
            const double off = p.advance - tops.back();
            p.torque = 1 - 0.0015 * off * off + (c == spoiledCell && d == 2.0 ? 0.03 : 0);
            points.push_back(p);
        }
        row.push_back(points);
    }
    const std::vector<AdvanceFit> fits = fitRow(row, 6);
    for (int c = 0; c < 6; ++c) {
        QVERIFY(fits[c].ok);
        QVERIFY2(std::abs(fits[c].best - tops[c]) <= 0.1,
                 qPrintable(QString("cell %1: %2 for %3").arg(c).arg(fits[c].best).arg(tops[c])));
    }
}

QTEST_GUILESS_MAIN(AdvanceFinderTest)
#include "advancefinder_test.moc"
