// Pulls in synthetic logs: which rows make a pull, and how near the bands come to the
// engine's true torque; the tunes kept beside a log.
#include "datalog/LogTune.h"
#include "datalog/Pulls.h"
#include "files/IgnFile.h"
#include "params/TuneHash.h"
#include "support/SyntheticPulls.h"

#include "FileTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using vorn::PullEnd;

namespace {

const char *endName(PullEnd e)
{
    switch (e) {
    case PullEnd::ThrottleOff: return "throttle";
    case PullEnd::Limiter: return "limiter";
    case PullEnd::SpeedFalling: return "falling";
    case PullEnd::Gap: return "gap";
    case PullEnd::LogEnd: return "end";
    }
    return "?";
}

// A ride from words: "idle N" (N rows at 1,500 rpm, 5 %), "run A B" (a full-throttle run
// of the synthetic engine from A to B rpm, then a row of limiter blocking), "coast N"
// (N rows falling 300 rpm a row from the last speed, throttle off), "hold N D" (N rows at
// full throttle moving D rpm a row), "throttle K P" (row K at P %), "drop K" (rows K.. are
// missing for 2 s), "cut N" (the last N rows are gone).
std::vector<vorn::LogRow> ride(const QString &script)
{
    std::vector<vorn::LogRow> rows;
    std::int64_t t = 0;
    for (const QString &step : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList w = step.trimmed().split(' ');
        const int a = w.value(1).toInt(), b = w.value(2).toInt();
        const int last = rows.empty() ? 1500 : rows.back().rpm;
        if (w[0] == "idle")
            t = synth::appendSteady(rows, t, a, 1500, 0, 5);
        else if (w[0] == "run")
            t = synth::appendRun(rows, synth::Run(synth::torqueCurve, a, b), t, {});
        else if (w[0] == "coast")
            t = synth::appendSteady(rows, t, a, last - 300, -300, 0);
        else if (w[0] == "hold")
            t = synth::appendSteady(rows, t, a, last + b, b, 100);
        else if (w[0] == "throttle")
            rows[a].throttlePercent = b;
        else if (w[0] == "drop")
            for (std::size_t k = a; k < rows.size(); ++k)
                rows[k].timeMs += 2000;
        else if (w[0] == "cut")
            rows.resize(rows.size() - a);
    }
    return rows;
}

struct Spread {
    double worst = 0;
    void add(double v) { worst = std::max(worst, std::abs(v)); }
};

std::vector<vorn::PullBand> onlyPull(const std::vector<vorn::LogRow> &rows)
{
    const auto pulls = vorn::findPulls(rows);
    return pulls.size() == 1 ? pulls[0].bands : std::vector<vorn::PullBand>{};
}

}  // namespace

class PullsTest : public QObject {
    Q_OBJECT
private slots:
    void pulls_data();
    void pulls();
    void tunesBesideALog();
};

namespace {

void detect(const QString &script, int threshold, const QStringList &ends)
{
    const std::vector<vorn::LogRow> rows = ride(script);
    const auto pulls = vorn::findPulls(rows, {1000, threshold});
    QStringList found;
    for (const vorn::Pull &p : pulls) {
        found << endName(p.end);
        // Full throttle and rising from the first row to the last, at least 1.5 s.
        QVERIFY(p.endS - p.startS >= 1.5);
        QCOMPARE(p.startS, rows[p.firstRow].timeMs / 1000.0);
        for (std::size_t k = p.firstRow; k <= p.lastRow; ++k)
            QVERIFY(rows[k].throttlePercent >= threshold && rows[k].throttlePercent <= 100 && !rows[k].blocking);
        QVERIFY(rows[p.lastRow].rpm > rows[p.firstRow].rpm);
        // Its last row still gained like a pull: none of the engine held at the limiter.
        QVERIFY(rows[p.lastRow].rpm - rows[p.lastRow - 1].rpm >= 100);
        // The crossings lie inside the rows' times and speeds, in order; the bands join up.
        QVERIFY(!p.crossings.empty());
        for (std::size_t i = 0; i < p.crossings.size(); ++i) {
            const vorn::BandCrossing &c = p.crossings[i];
            QVERIFY(c.rpm >= p.rpmFrom && c.rpm <= p.rpmTo && c.rpm % 1000 == 0);
            QVERIFY(c.timeS >= p.startS - 0.05 && c.timeS <= p.endS + 0.05);
            QVERIFY(i == 0 || c.timeS > p.crossings[i - 1].timeS);
        }
        QCOMPARE(p.bands.size(), p.crossings.size() - 1);
        for (const vorn::PullBand &b : p.bands)
            QCOMPARE(b.rpmTo - b.rpmFrom, 1000);
    }
    QCOMPARE(found, ends);
}

// How near the bands come to the true curve. `kind`: "flat" (constant gain: every band the
// same torque), "exact" (every band against the truth), "cut" (exact, but the limiter held
// the engine for part of the last step before the unit showed it), "pair" (two noisy pulls on one
// curve against each other), "average" (three noisy pulls per tune, the difference of two
// tunes against the true difference, in percentage points). Exact readings are tried at
// 11 places of the first row; noisy ones with 20 seeds. Bands from `fromRpm` up count.
void measureAccuracy(const QString &kind, int fromRpm, double bound)
{
    const synth::Run curve(synth::torqueCurve, 3800, 12000), better(synth::betterCurve, 3800, 12000);
    const synth::Run flat([](double) { return 1600.0; }, 3800, 12000);
    auto pull = [&](const synth::Run &run, unsigned seed) {
        std::vector<vorn::LogRow> rows;
        synth::appendSteady(rows, 0, 3, 1500, 0, 5);
        synth::appendRun(rows, run, 990, {10, 2, (seed * 37) % 330 * 1.0, seed});
        return onlyPull(rows);
    };
    Spread spread;
    int bands = 0;
    if (kind == "flat" || kind == "exact" || kind == "cut") {
        const synth::Run &run = kind == "flat" ? flat : curve;
        for (int phase = 0; phase < 330; phase += 30) {
            std::vector<vorn::LogRow> rows;
            synth::appendRun(rows, run, 0, {0, 0, double(phase), 1});
            if (kind == "cut") {   // the limiter cut in for half of the last step before blocking shows
                vorn::LogRow &beforeBlocking = rows[rows.size() - 2];
                beforeBlocking.rpm -= (beforeBlocking.rpm - rows[rows.size() - 3].rpm) / 2;
            }
            const auto found = onlyPull(rows);
            QVERIFY(found.size() >= 6);
            for (const vorn::PullBand &b : found) {
                spread.add((b.torqueRel / run.bandTorque(b.rpmFrom, b.rpmTo) - 1) * 100);
                ++bands;
            }
        }
    } else if (kind == "pair") {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            for (const vorn::BandComparison &c : vorn::compareBands({pull(curve, seed), pull(curve, seed + 100)})) {
                if (c.rpmFrom >= fromRpm && c.rpmTo <= 11000) {
                    QVERIFY(c.torqueDiffPercent.at(0));
                    spread.add(*c.torqueDiffPercent[0]);
                    ++bands;
                }
            }
        }
    } else {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            std::vector<std::vector<vorn::PullBand>> a, b;
            for (unsigned k = 0; k < 3; ++k) {
                a.push_back(pull(curve, 1000 * seed + k));
                b.push_back(pull(better, 1000 * seed + 500 + k));
            }
            for (const vorn::BandComparison &c : vorn::compareBands({vorn::averageBands(a), vorn::averageBands(b)})) {
                if (c.rpmFrom < fromRpm || c.rpmTo > 11000)
                    continue;
                const double truth = (better.bandTorque(c.rpmFrom, c.rpmTo) / curve.bandTorque(c.rpmFrom, c.rpmTo) - 1) * 100;
                spread.add(*c.torqueDiffPercent.at(0) - truth);
                ++bands;
            }
        }
    }
    qInfo("%s: worst %.3f over %d bands (bound %.2f)", qPrintable(kind), spread.worst, bands, bound);
    QVERIFY(bands >= 11 * 6);
    QVERIFY2(spread.worst <= bound, qPrintable(QString::number(spread.worst)));
}

}  // namespace

// One table: "detect" rows build a ride from `script` and name the pulls found by how each
// ended; the other kinds measure how near the bands come to the truth (measureAccuracy).
void PullsTest::pulls_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QStringList>("ends");   // the pulls found, by how each ended
    QTest::addColumn<int>("fromRpm");
    QTest::addColumn<double>("bound");       // percent or percentage points

    QTest::newRow("to the limiter") << "detect" << "idle 6; run 3800 12000; coast 10" << 90 << QStringList{"limiter"} << 0 << 0.0;
    QTest::newRow("throttle dip splits") << "detect" << "idle 6; run 3800 12000; throttle 13 60; coast 3" << 90
                                         << QStringList{"throttle", "limiter"} << 0 << 0.0;
    QTest::newRow("early dip leaves one") << "detect" << "idle 6; run 3800 12000; throttle 9 60" << 90 << QStringList{"limiter"} << 0 << 0.0;
    QTest::newRow("dip above threshold") << "detect" << "idle 6; run 3800 12000; throttle 13 92" << 90 << QStringList{"limiter"} << 0 << 0.0;
    QTest::newRow("sensor fault is no throttle") << "detect" << "idle 6; run 3800 12000; throttle 13 140" << 90
                                                 << QStringList{"throttle", "limiter"} << 0 << 0.0;
    QTest::newRow("threshold") << "detect" << "idle 6; run 3800 12000; throttle 13 85" << 80 << QStringList{"limiter"} << 0 << 0.0;
    QTest::newRow("coast") << "detect" << "idle 6; coast 12" << 90 << QStringList{} << 0 << 0.0;
    QTest::newRow("full throttle, speed falling") << "detect" << "idle 6; hold 1 6000; hold 10 -60" << 90 << QStringList{} << 0 << 0.0;
    QTest::newRow("too short") << "detect" << "idle 6; hold 4 400; coast 3" << 90 << QStringList{} << 0 << 0.0;
    QTest::newRow("shift with throttle held") << "detect" << "idle 2; run 3800 9000; cut 1; hold 1 -3000; hold 8 300" << 90
                                              << QStringList{"falling", "end"} << 0 << 0.0;
    QTest::newRow("limiter cuts before blocking") << "detect" << "idle 6; run 3800 12000; cut 1; hold 3 15" << 90
                                                  << QStringList{"end"} << 0 << 0.0;
    QTest::newRow("truncated log") << "detect" << "idle 6; run 3800 12000; cut 8" << 90 << QStringList{"end"} << 0 << 0.0;
    QTest::newRow("replies pause") << "detect" << "idle 6; run 3800 12000; drop 16" << 90 << QStringList{"gap", "limiter"} << 0 << 0.0;
    QTest::newRow("two pulls") << "detect" << "idle 3; run 3800 12000; coast 20; run 3800 12000" << 90
                               << QStringList{"limiter", "limiter"} << 0 << 0.0;
    QTest::newRow("constant gain, flat torque") << "flat" << QString() << 90 << QStringList{} << 0 << 0.05;
    QTest::newRow("exact readings, true curve") << "exact" << QString() << 90 << QStringList{} << 0 << 0.3;
    QTest::newRow("limiter within the last step") << "cut" << QString() << 90 << QStringList{} << 0 << 0.3;
    QTest::newRow("two noisy pulls agree") << "pair" << QString() << 90 << QStringList{} << 5000 << 1.5;
    QTest::newRow("three-pull averages, difference") << "average" << QString() << 90 << QStringList{} << 5000 << 1.0;
}

void PullsTest::pulls()
{
    QFETCH(QString, kind);
    QFETCH(QString, script);
    QFETCH(int, threshold);
    QFETCH(QStringList, ends);
    QFETCH(int, fromRpm);
    QFETCH(double, bound);
    if (kind == "detect")
        detect(script, threshold, ends);
    else
        measureAccuracy(kind, fromRpm, bound);
}

void PullsTest::tunesBesideALog()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("ride.csv");
    // Independently known: SHA-256 of the 199 bytes of blocks 1 and 2 without byte 101, all zero.
    vorn::ParameterImage zero;
    QCOMPARE(vorn::tuneHash(zero), "4f74882d2c7f0195a206cd5fa55bc1cfbe217137390a8e80109f788525905ccf");
    vorn::ParameterImage image = zero;
    image[vorn::Off::Reserved101] = 7;   // the unit's own byte and block 0
    image[vorn::Off::VersionName] = 'V';
    QCOMPARE(vorn::tuneHash(image), vorn::tuneHash(zero));
    image.advance(3, 4) = 21;
    const QString hashA = vorn::tuneHash(image);
    QVERIFY(hashA != vorn::tuneHash(zero));

    const auto first = vorn::saveTuneBesideLog(image, log, 0);
    QVERIFY(first);
    QCOMPARE(first->path, dir.filePath("ride.ign"));
    QCOMPARE(filetest::get(first->path), vorn::WriteParameterFile(image));   // File, Save's bytes
    QCOMPARE(first->hash, hashA);
    image.advance(3, 4) = 23;
    const auto later = vorn::saveTuneBesideLog(image, log, 125300);
    QVERIFY(later);
    QCOMPARE(later->path, dir.filePath("ride.tune-125300.ign"));
    filetest::put(dir.filePath("ride.tune-200000.ign"), "not a parameter file");   // left out
    filetest::put(dir.filePath("other.ign"), vorn::WriteParameterFile(image));    // another log's

    const auto tunes = vorn::tunesBesideLog(log);
    QCOMPARE(tunes.size(), 2u);
    QCOMPARE(vorn::tuneAt(tunes, 0)->hash, hashA);
    QCOMPARE(vorn::tuneAt(tunes, 125299)->hash, hashA);
    QCOMPARE(vorn::tuneAt(tunes, 125300)->hash, vorn::tuneHash(image));
    QCOMPARE(vorn::tuneAt(tunes, 125300)->fromMs, 125300);
    QVERIFY(vorn::removeTunesBesideLog(log));
    QVERIFY(vorn::tunesBesideLog(log).empty());
    QVERIFY(QFile::exists(dir.filePath("other.ign")));
}

QTEST_GUILESS_MAIN(PullsTest)
#include "pulls_test.moc"
