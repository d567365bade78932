// A tuner's comparison of two maps, end to end: the simulated motorcycle pulls three times on
// map A while vorn4-cli logs it, map B is programmed, it pulls three times again, and
// vorn4-cli pulls compares the two logs. The torque difference per band, averaged over each
// map's pulls, is held against the model's own truth.
#include "files/IgnFile.h"
#include "params/TuneHash.h"
#include "support/CliRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr int kLong = clirun::kLongMs;
using clirun::readAll;
using clirun::runCli;

// The model's true torque per 1,000 rpm band, averaged over the pulls run on one map: the
// time-weighted mean of each pull's 250 rpm bands (the mean torque over a band is what its
// speed gain over its time says). A pull's map shows in the advance it ran with: those of
// `first` (the lower advance) or of the other map; a pull during the change counts for neither.
std::map<int, double> truthOf(const QByteArray &truth, bool first)
{
    struct Quarter { int rpm; double seconds, torque, advance; };
    std::map<int, std::vector<Quarter>> pulls;
    for (const QByteArray &line : truth.split('\n')) {
        const QList<QByteArray> f = line.split(',');
        if (f.size() >= 7 && f[0].toInt() > 0)
            pulls[f[0].toInt()].push_back({f[1].toInt(), f[3].toDouble(), f[4].toDouble(), f[6].toDouble()});
    }
    std::map<int, double> meanAdvance;
    for (const auto &[pull, quarters] : pulls) {
        double sum = 0;
        for (const Quarter &q : quarters)
            sum += q.advance;
        meanAdvance[pull] = quarters.empty() ? 0 : sum / quarters.size();
    }
    double low = 1e9, high = -1e9;
    for (const auto &[pull, advance] : meanAdvance) {
        low = std::min(low, advance);
        high = std::max(high, advance);
    }
    std::map<int, double> sum;
    std::map<int, int> count;
    for (const auto &[pull, quarters] : pulls) {
        if (std::abs(meanAdvance[pull] - (first ? low : high)) > 0.5)
            continue;
        std::map<int, double> torqueSeconds, seconds;
        std::map<int, int> parts;
        for (const Quarter &q : quarters) {
            const int band = q.rpm / 1000 * 1000;
            torqueSeconds[band] += q.torque * q.seconds;
            seconds[band] += q.seconds;
            ++parts[band];
        }
        for (const auto &[band, s] : seconds)
            if (parts[band] == 4) {
                sum[band] += torqueSeconds[band] / s;
                ++count[band];
            }
    }
    for (auto &[band, total] : sum)
        total /= count[band];
    return sum;
}

// What vorn4-cli pulls --json measured per 1,000 rpm band, averaged over the pulls of one log.
std::map<int, double> measuredOf(const QJsonArray &pulls, const QString &log, int *found)
{
    std::map<int, double> sum;
    std::map<int, int> count;
    *found = 0;
    for (const QJsonValue &p : pulls) {
        if (p["log"].toString() != log)
            continue;
        ++*found;
        for (const QJsonValue &b : p["bands"].toArray()) {
            sum[b["rpm_from"].toInt()] += b["torque_rel"].toDouble();
            ++count[b["rpm_from"].toInt()];
        }
    }
    for (auto &[band, total] : sum)
        total /= count[band];
    return sum;
}

}  // namespace

class PullsSimTest : public QObject {
    Q_OBJECT
private slots:
    void twoMapsAgainstTheTruth();
};

void PullsSimTest::twoMapsAgainstTheTruth()
{
    QTemporaryDir dir;
    const QString truthPath = dir.filePath("truth.csv");
    QProcess sim;
    sim.start(VORN4_SIM_EXE, {"--ride", "pulls", "--seed", "7", "--noise", "10", "--truth", truthPath, "--linger", "10"});
    QVERIFY(sim.waitForStarted(kLong));
    while (!sim.canReadLine())
        QVERIFY(sim.waitForReadyRead(kLong));
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();

    // Map A is what the unit holds; map B moves every cell 6 degrees on.
    clirun::Run r = runCli({"read", "--port", port, "a.ign"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    vorn::ParameterImage a, b;
    QVERIFY(vorn::ReadParameterFile(readAll(dir.filePath("a.ign")), a));
    b = a;
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col)
            b.advance(row, col) = static_cast<std::uint8_t>(std::min(b.advance(row, col) + 6, 45));
    {
        QFile f(dir.filePath("b.ign"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(vorn::WriteParameterFile(b));
    }

    // A pull every 14 s or so: 42 s of log hold three on each map.
    r = runCli({"log", "--port", port, "--seconds", "42", "--map", "a.ign", "a.csv"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    r = runCli({"program", "--port", port, "b.ign"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    r = runCli({"log", "--port", port, "--seconds", "42", "--map", "b.ign", "b.csv"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    r = runCli({"pulls", "--json", "a.csv", "b.csv"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));

    const QJsonObject doc = r.json();
    const QJsonArray pulls = doc["pulls"].toArray();
    for (const QJsonValue &p : pulls)
        QCOMPARE(p["tune"]["hash"].toString(), vorn::tuneHash(p["log"].toString() == "a.csv" ? a : b));
    int pullsA = 0, pullsB = 0;
    const std::map<int, double> measuredA = measuredOf(pulls, "a.csv", &pullsA), measuredB = measuredOf(pulls, "b.csv", &pullsB);
    QVERIFY2(pullsA >= 3 && pullsB >= 3, qPrintable(QStringLiteral("%1 and %2 pulls").arg(pullsA).arg(pullsB)));

    // Averaged over three pulls per map, the difference the program reports per band against
    // the model's own (map B's advance is nearer the model's best below the middle speeds).
    const QByteArray truth = readAll(truthPath);
    const std::map<int, double> trueA = truthOf(truth, true), trueB = truthOf(truth, false);
    double worst = 0, largest = 0;
    int bands = 0;
    for (const auto &[from, torqueA] : measuredA) {
        if (from < 5000 || !measuredB.count(from) || !trueA.count(from) || !trueB.count(from))
            continue;
        const double diff = (measuredB.at(from) / torqueA - 1) * 100;
        const double trueDiff = (trueB.at(from) / trueA.at(from) - 1) * 100;
        qInfo("%d-%d rpm: %+.2f %% measured, %+.2f %% true", from, from + 1000, diff, trueDiff);
        worst = std::max(worst, std::abs(diff - trueDiff));
        largest = std::max(largest, std::abs(trueDiff));
        ++bands;
    }
    qInfo("worst error %.2f percentage points over %d bands", worst, bands);
    QVERIFY(bands >= 6);
    QVERIFY(largest >= 6);   // the maps differ by well more than the bound
    QVERIFY2(worst <= 1.0, qPrintable(QString::number(worst)));
}

QTEST_GUILESS_MAIN(PullsSimTest)
#include "pulls_sim_test.moc"
