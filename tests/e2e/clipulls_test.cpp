// vorn4-cli pulls as a tuner reads it: the tables' headings and units, one column per pull
// or per tune, the average the text falls back to beyond eight pulls, and the same lines in
// the JSON document. The logs are synthetic, on two tunes of which one pulls 10 % harder.
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "params/New.h"
#include "support/CliRun.h"
#include "support/SyntheticPulls.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using clirun::runCli;

namespace {

// A log of `pulls` full-throttle runs from 4,000 rpm on an engine `factor` times as strong
// as the synthetic one, idling before and coasting after each; the tune with map cell
// `cell` kept beside it.
bool writeLog(const QString &path, int pulls, double factor, int cell)
{
    const synth::Run run([factor](double rpm) { return factor * synth::torqueCurve(rpm); }, 4000, 10000);
    std::vector<vorn::LogRow> rows;
    std::int64_t t = 0;
    for (int i = 0; i < pulls; ++i) {
        t = synth::appendSteady(rows, t, 6, 4000, 0, 5);
        t = synth::appendRun(rows, run, t, {});
        t = synth::appendSteady(rows, t, 6, 9700, -300, 0);
    }
    QByteArray text = QByteArray(vorn::kLogHeader) + '\n';
    for (const vorn::LogRow &r : rows)
        text += vorn::formatLogRow(r) + '\n';
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return false;
    f.close();
    vorn::ParameterImage image;
    vorn::LoadDefaults(image);
    image[vorn::Off::Advance + 55] = static_cast<std::uint8_t>(cell);
    return vorn::saveTuneBesideLog(image, path).has_value();
}

// The cells of the line after `heading`, split where two or more blanks stand between them.
QStringList rowAfter(const QString &out, const QString &heading)
{
    const QStringList lines = out.split('\n');
    const qsizetype at = lines.indexOf(heading);
    if (at < 0 || at + 1 >= lines.size())
        return {};
    return lines[at + 1].trimmed().split(QRegularExpression(QStringLiteral("\\s{2,}")));
}

}  // namespace

class CliPullsTest : public QObject {
    Q_OBJECT
private slots:
    void output_data();
    void output();
};

// `columns`: the torque table's columns after the band, "A" and "B" standing for the two
// tunes' short hashes (for --json the number of runs). `fragments`: text that must appear.
void CliPullsTest::output_data()
{
    QTest::addColumn<QList<int>>("pulls");        // per log: a.csv on tune A, b.csv on tune B
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("fragments");
    const QStringList heads{"pull", "log", "start (s)", "end (s)", "speed (rpm)", "tune"};
    QTest::newRow("two pulls, each a column") << QList<int>{1, 1} << QStringList{} << 0 << QStringList{"pull 1", "pull 2"}
                                              << heads + QStringList{"Torque in % of pull 1:", "band (rpm)"};
    QTest::newRow("--average: a column per tune") << QList<int>{2, 1} << QStringList{"--average"} << 0
                                                  << QStringList{"A", "B"}
                                                  << QStringList{"The pulls of each tune averaged:", "1, 2", "Torque in % of A:"};
    QTest::newRow("nine pulls averaged per tune") << QList<int>{5, 4} << QStringList{} << 0 << QStringList{"A", "B"}
                                                  << QStringList{"More than 8 pulls", "1, 2, 3, 4, 5", "6, 7, 8, 9"};
    QTest::newRow("nine pulls, --each") << QList<int>{5, 4} << QStringList{"--each"} << 0
                                        << QStringList{"pull 1", "pull 2", "pull 3", "pull 4", "pull 5", "pull 6", "pull 7",
                                                       "pull 8", "pull 9"}
                                        << QStringList{"Torque in % of pull 1:"};
    QTest::newRow("German headings") << QList<int>{1, 1} << QStringList{"--lang", "de"} << 0
                                     << QStringList{"Durchzug 1", "Durchzug 2"}
                                     << QStringList{"Durchzug", "Drehzahl (rpm)", "Relatives Drehmoment (rpm/s)"};
    QTest::newRow("--average and --each together") << QList<int>{1, 1} << QStringList{"--average", "--each"} << 2
                                                    << QStringList{} << QStringList{};
    QTest::newRow("json keeps every pull") << QList<int>{5, 4} << QStringList{"--json"} << 0 << QStringList{"9"}
                                           << QStringList{};
    QTest::newRow("json --average") << QList<int>{5, 4} << QStringList{"--json", "--average"} << 0 << QStringList{"2"}
                                    << QStringList{};
}

void CliPullsTest::output()
{
    QFETCH(QList<int>, pulls);
    QFETCH(QStringList, args);
    QFETCH(int, exit);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, fragments);
    QTemporaryDir dir;
    QVERIFY(writeLog(dir.filePath("a.csv"), pulls[0], 1.0, 20) && writeLog(dir.filePath("b.csv"), pulls[1], 1.1, 26));
    const QString a = vorn::tunesBesideLog(dir.filePath("a.csv")).front().hash.left(8);
    const QString b = vorn::tunesBesideLog(dir.filePath("b.csv")).front().hash.left(8);
    columns.replaceInStrings(QRegularExpression("^A$"), a).replaceInStrings(QRegularExpression("^B$"), b);
    fragments.replaceInStrings(QRegularExpression("\\bA:"), a + ':');

    const clirun::Run r = runCli(QStringList{"pulls", "a.csv", "b.csv"} + args, dir.path());
    QVERIFY2(r.exit == exit, qPrintable(r.out + r.err));
    if (exit != 0)
        return;
    for (const QString &f : fragments)
        QVERIFY2(r.out.contains(f), qPrintable(QStringLiteral("%1 missing in\n%2").arg(f, r.out)));

    // The later line against the first: tune B pulls 10 % harder in every band.
    QList<double> diffs;
    if (args.contains("--json")) {
        const QJsonObject doc = r.json();
        QCOMPARE(QString::number(doc["runs"].toArray().size()), columns.front());
        for (const QJsonValue &band : doc["comparison"].toArray())
            diffs << band["torque_diff_percent"].toArray().last().toDouble();
    } else {
        const QString heading = args.contains("de") ? "Relatives Drehmoment (rpm/s) je Drehzahlband:"
                                                    : "Relative torque (rpm/s) per speed band:";
        QCOMPARE(rowAfter(r.out, heading).mid(1), columns);
        static const QRegularExpression percent(QStringLiteral("([+-]\\d+\\.\\d) %$"));
        for (const QString &line : r.out.split('\n'))
            if (const auto m = percent.match(line); m.hasMatch())
                diffs << m.captured(1).toDouble();
    }
    QVERIFY2(diffs.size() >= 4, qPrintable(r.out));
    // Per band the fit of each pull wanders by a few tenths of a per cent at most.
    for (double d : diffs)
        QVERIFY2(std::abs(d - 10) < 0.6, qPrintable(QStringLiteral("%1 in\n%2").arg(d).arg(r.out)));
}

QTEST_GUILESS_MAIN(CliPullsTest)
#include "clipulls_test.moc"
