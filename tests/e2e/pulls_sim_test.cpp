// A tuner's comparison of two maps, end to end: the simulated motorcycle pulls on map A while
// vorn4-cli logs it, map B is programmed, it pulls again, and vorn4-cli pulls compares the two
// logs. The torque difference it reports per band is held against the model's own truth.
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
#include <map>

namespace {

constexpr int kLong = clirun::kLongMs;
using clirun::readAll;
using clirun::runCli;

// The model's true torque per 1,000 rpm band of one pull: the time-weighted mean of its
// 250 rpm bands (the mean torque over a band is what its speed gain over its time says).
std::map<int, double> truthOf(const QByteArray &truth, int pull)
{
    std::map<int, double> torqueSeconds, seconds;
    std::map<int, int> quarters;
    for (const QByteArray &line : truth.split('\n')) {
        const QList<QByteArray> f = line.split(',');
        if (f.size() < 5 || f[0].toInt() != pull)
            continue;
        const int band = f[1].toInt() / 1000 * 1000;
        torqueSeconds[band] += f[4].toDouble() * f[3].toDouble();
        seconds[band] += f[3].toDouble();
        ++quarters[band];
    }
    std::map<int, double> out;
    for (const auto &[band, s] : seconds)
        if (quarters[band] == 4)
            out[band] = torqueSeconds[band] / s;
    return out;
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

    // The ride's first pull ends some 13 s after the start, the second some 14 s later (and the truth of a pull is written once the limiter has held it for 0.5 s).
    r = runCli({"log", "--port", port, "--seconds", "14", "--map", "a.ign", "a.csv"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    r = runCli({"program", "--port", port, "b.ign"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    r = runCli({"log", "--port", port, "--seconds", "14", "--map", "b.ign", "b.csv"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    r = runCli({"pulls", "--json", "a.csv", "b.csv"}, dir.path());
    QVERIFY2(r.exit == 0, qPrintable(r.err));
    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));

    const QJsonObject doc = r.json();
    const QJsonArray pulls = doc["pulls"].toArray();
    QCOMPARE(pulls.size(), 2);
    QCOMPARE(pulls[0]["log"].toString(), "a.csv");
    QCOMPARE(pulls[1]["log"].toString(), "b.csv");
    QCOMPARE(pulls[0]["tune"]["hash"].toString(), vorn::tuneHash(a));
    QCOMPARE(pulls[1]["tune"]["hash"].toString(), vorn::tuneHash(b));

    const QByteArray truth = readAll(truthPath);
    const std::map<int, double> first = truthOf(truth, 1), second = truthOf(truth, 2);
    qInfo("truth: %d bytes, %zu and %zu bands; %d compared", int(truth.size()), first.size(), second.size(),
          int(doc["comparison"].toArray().size()));
    double worst = 0, largest = 0;
    int bands = 0;
    for (const QJsonValue &v : doc["comparison"].toArray()) {
        const QJsonObject c = v.toObject();
        const int from = c["rpm_from"].toInt();
        const QJsonValue diff = c["torque_diff_percent"].toArray().at(0);
        if (from < 5000 || diff.isNull() || !first.count(from) || !second.count(from))
            continue;
        const double trueDiff = (second.at(from) / first.at(from) - 1) * 100;
        qInfo("%d-%d rpm: %+.2f %% measured, %+.2f %% true", from, from + 1000, diff.toDouble(), trueDiff);
        worst = std::max(worst, std::abs(diff.toDouble() - trueDiff));
        largest = std::max(largest, std::abs(trueDiff));
        ++bands;
    }
    qInfo("worst error %.2f percentage points over %d bands", worst, bands);
    QVERIFY(bands >= 5);
    QVERIFY(largest >= 6);   // the maps differ by well more than the bound
    // One pull per map against a simulator that runs on the wall clock: each pull carries the
    // same-map spread of 1.5 %, and a loaded machine delays requests (2.6 points were seen in
    // the band below the limiter). This holds the whole chain from the unit to the comparison;
    // the accuracy bounds themselves are held on exact synthetic logs in the core test.
    QVERIFY2(worst <= 3.0, qPrintable(QString::number(worst)));
}

QTEST_GUILESS_MAIN(PullsSimTest)
#include "pulls_sim_test.moc"
