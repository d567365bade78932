// Log, "Compare pulls..." as the window meets it: the tunes a recording keeps beside its log,
// the comparison's lines, bands and tune differences for logs of known torque, and the
// workbench's overlay aligned by pull start, each one table of scenarios.
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "datalog/ui/DatalogController.h"
#include "logview/ui/LogViewUi.h"
#include "logview/ui/PullReport.h"
#include "params/New.h"
#include "params/TuneHash.h"
#include "support/FakeHost.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using vorn::LogRow;
using Transfer = vorn::host::HostNotifier::Transfer;
using vorn::logview::LogViewUi;
using vorn::logview::PullComparison;

namespace {

// A map cell the scenarios change, so that two tunes differ in exactly one parameter.
constexpr int kCell = 205;

vorn::ParameterImage tuneWithCell(int value)
{
    vorn::ParameterImage image;
    vorn::LoadDefaults(image);
    image[kCell] = static_cast<std::uint8_t>(value);
    return image;
}

// A log of one full-throttle pull in one gear at a constant `gain` rpm per second from
// 4,000 rpm to 9,500 rpm, a row every 330 ms as the unit answers, idle before and coasting
// after; the tune with map cell `cell` kept beside it. Constant gain is flat torque, so
// two such logs differ by the ratio of their gains in every band.
QString writePullLog(const QString &path, double gain, int cell, int idleRows = 6)
{
    QByteArray text = QByteArray(vorn::kLogHeader) + '\n';
    auto row = [&](std::int64_t ms, double rpm, int throttle) {
        LogRow r;
        r.timeMs = ms;
        r.rpm = static_cast<int>(std::lround(rpm));
        r.throttlePercent = throttle;
        text += vorn::formatLogRow(r) + '\n';
    };
    std::int64_t ms = 0;
    for (int i = 0; i < idleRows; ++i, ms += 330)
        row(ms, 4000, 8);
    const std::int64_t from = ms;
    double rpm = 4000;
    for (; rpm < 9500; ms += 330) {
        rpm = 4000 + gain * double(ms - from) / 1000.0;
        row(ms, rpm, 100);
    }
    for (int i = 1; i <= 6; ++i, ms += 330)
        row(ms, rpm - 400.0 * i, 0);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return {};
    f.close();
    if (!vorn::saveTuneBesideLog(tuneWithCell(cell), path))
        return {};
    return path;
}

}  // namespace

class ComparePullsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void tunesBesideRecording_data();
    void tunesBesideRecording();
    void chart_data();
    void chart();
    void workbenchAlignsByPull_data();
    void workbenchAlignsByPull();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void ComparePullsTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
}

// The tune in the window when the recording starts is kept as the log's, and a Read or a
// Program that ends OK keeps the image again from that moment of the log on; a Verify, a
// failed operation or one outside a recording keeps nothing.
void ComparePullsTest::tunesBesideRecording_data()
{
    QTest::addColumn<Transfer>("kind");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("whileRecording");
    QTest::addColumn<bool>("kept");
    QTest::newRow("Read OK") << Transfer::Read << true << true << true;
    QTest::newRow("Program OK") << Transfer::Program << true << true << true;
    QTest::newRow("Verify OK") << Transfer::Verify << true << true << false;
    QTest::newRow("Read failed") << Transfer::Read << false << true << false;
    QTest::newRow("Read OK after the recording") << Transfer::Read << true << false << false;
}

void ComparePullsTest::tunesBesideRecording()
{
    QFETCH(Transfer, kind);
    QFETCH(bool, ok);
    QFETCH(bool, whileRecording);
    QFETCH(bool, kept);
    FakeHost host(dir_->filePath("vorn4.ini"));
    DatalogController datalog(host, host, host, host.notifier);
    host.img = tuneWithCell(20);
    datalog.startRecording();
    QVERIFY(datalog.recording());
    const QString log = datalog.recordingPath();
    for (int i = 0; i < 3; ++i)
        emit host.notifier.liveValuesDecoded();
    if (!whileRecording)
        datalog.stopRecording();
    host.img = tuneWithCell(31);   // what the Read brought or the Program sent
    // A few milliseconds between the rows and the transfer, so that "between" has room on
    // the log's millisecond clock.
    QTest::qWait(5);
    emit host.notifier.transferFinished(kind, ok, ok ? vorn::Msg::Verify : vorn::Msg::ReadError, host.img);
    QTest::qWait(5);
    emit host.notifier.liveValuesDecoded();
    datalog.stopRecording();

    const std::vector<vorn::LogTune> tunes = vorn::tunesBesideLog(log);
    QCOMPARE(int(tunes.size()), kept ? 2 : 1);
    QCOMPARE(tunes.front().path, vorn::tunePathFor(log, 0));
    QCOMPARE(int(tunes.front().image[kCell]), 20);
    if (kept) {
        QCOMPARE(int(tunes.back().image[kCell]), 31);
        QVERIFY(tunes.back().hash != tunes.front().hash);
        // In force from after the rows before it and before the row after it.
        const vorn::LogContents rows = vorn::readLog(log);
        QCOMPARE(int(rows.rows.size()), 4);
        QVERIFY(tunes.back().fromMs >= rows.rows[2].timeMs && tunes.back().fromMs <= rows.rows[3].timeMs);
    }
}

// Two logs on different tunes, one gaining 10 % faster than the other: the window lists
// both pulls with their tunes, charts torque and power 10 % apart in every band, says so per
// band and names the one parameter the tunes differ in. Pulls on one tune averaged are one line.
// Every line has its own colour and its whole name in the legend. Logs chosen together are
// read under one bar; one that cannot be read is named once and the others stay.
void ComparePullsTest::chart_data()
{
    QTest::addColumn<QList<double>>("gains");   // one log each
    QTest::addColumn<QList<int>>("cells");      // the map cell of each log's tune
    QTest::addColumn<bool>("average");
    QTest::addColumn<int>("lines");
    QTest::addColumn<double>("ratio");          // of the last line to the first
    QTest::addColumn<int>("differences");       // parameters differing between the tunes
    QTest::addColumn<bool>("together");         // the further logs added at once, with a missing one
    QTest::newRow("two tunes") << QList<double>{1500, 1650} << QList<int>{20, 31} << false << 2 << 1.10 << 1 << false;
    QTest::newRow("same tune, two pulls") << QList<double>{1500, 1500} << QList<int>{20, 20} << false << 2 << 1.0 << 0
                                          << false;
    QTest::newRow("same tune averaged against another")
        << QList<double>{1500, 1500, 1350} << QList<int>{20, 20, 26} << true << 2 << 0.90 << 1 << false;
    QTest::newRow("not averaged") << QList<double>{1500, 1500, 1350} << QList<int>{20, 20, 26} << false << 3 << 0.90 << 1
                                  << false;
    QTest::newRow("six pulls") << QList<double>{1500, 1500, 1500, 1500, 1500, 1650} << QList<int>{20, 20, 20, 20, 20, 31}
                               << false << 6 << 1.10 << 1 << false;
    // Left to itself the window charts twenty lines, so the two pulls of the other tune at
    // the end are listed but not drawn (nor compared).
    QTest::newRow("twenty-two pulls, not averaged")
        << QList<double>(20, 1500) + QList<double>{1650, 1650} << QList<int>(20, 20) + QList<int>{31, 31} << false
        << 20 << 1.0 << 0 << false;
    QTest::newRow("added together, averaged")
        << QList<double>{1500, 1500, 1350} << QList<int>{20, 20, 26} << true << 2 << 0.90 << 1 << true;
}

void ComparePullsTest::chart()
{
    QFETCH(QList<double>, gains);
    QFETCH(QList<int>, cells);
    QFETCH(bool, average);
    QFETCH(int, lines);
    QFETCH(double, ratio);
    QFETCH(int, differences);
    QFETCH(bool, together);

    QStringList logs;
    for (int i = 0; i < gains.size(); ++i) {
        logs << writePullLog(dir_->filePath(QStringLiteral("pull%1.csv").arg(i + 1)), gains[i], cells[i]);
        QVERIFY(!logs.back().isEmpty());
    }
    FakeHost host(dir_->filePath("vorn4.ini"));
    LogViewUi ui(host, host.notifier, [] { return QString(); }, LogViewUi::defaultModuleDirs());
    QVERIFY(host.placed.value(vorn::host::MenuPlace::Log).contains(ui.comparePullsAction()));
    host.fileAnswers.push_back(logs.front());   // asked for at once, as nothing is shown yet
    ui.comparePullsAction()->trigger();
    PullComparison *pc = ui.pullComparison();
    QVERIFY2(pc, qPrintable(host.messages.join('\n')));
    if (together) {
        const QString missing = dir_->filePath("missing.csv");
        QCOMPARE(pc->addLogs(logs.mid(1) + QStringList{missing}), int(logs.size()) - 1);
        QCOMPARE(host.messages.size(), 1);
        QVERIFY2(host.messages.front().contains(QLatin1String("missing.csv")), qPrintable(host.messages.front()));
    } else {
        for (const QString &log : logs.mid(1))
            QVERIFY(pc->addLog(log));
    }
    pc->setAverage(average);
    QCOMPARE(pc->logs(), logs);

    const vorn::logview::PullReport &report = pc->report();
    QCOMPARE(int(report.pulls.size()), int(logs.size()));
    for (int i = 0; i < logs.size(); ++i) {
        const vorn::logview::FoundPull &p = report.pulls[static_cast<std::size_t>(i)];
        QCOMPARE(p.log, logs[i]);
        QVERIFY2(std::abs(p.startS - 1.98) < 0.34, qPrintable(QString::number(p.startS)));
        QCOMPARE(p.tuneHash, vorn::tuneHash(tuneWithCell(cells[i])));
        QCOMPARE(p.tuneFile, vorn::tunePathFor(logs[i]));
    }

    for (int chart = 0; chart < 2; ++chart) {
        const auto drawn = pc->chartLines(chart);
        QCOMPARE(int(drawn.size()), lines);
        // Each line is named by its log and time and its tune, or by the tune it averages.
        for (int l = 0; l < lines; ++l) {
            const QString tune = report.runs[static_cast<std::size_t>(l)].tuneHash.left(8);
            QVERIFY2(drawn[l].first.contains(tune), qPrintable(drawn[l].first));
            if (report.runs[static_cast<std::size_t>(l)].pulls.size() == 1)
                QVERIFY2(drawn[l].first.contains(QFileInfo(logs[report.runs[static_cast<std::size_t>(l)].pulls[0]]).completeBaseName()),
                         qPrintable(drawn[l].first));
        }
        const QList<QPointF> &first = drawn.front().second;
        const QList<QPointF> &last = drawn.back().second;
        QVERIFY(first.size() >= 4);   // 1,000 rpm bands from 5,000 up
        int compared = 0;
        for (const QPointF &p : last)
            for (const QPointF &q : first)
                if (p.x() == q.x()) {
                    QVERIFY2(std::abs(p.y() / q.y() - ratio) < 0.005,
                             qPrintable(QStringLiteral("%1 rpm: %2 against %3").arg(p.x()).arg(p.y()).arg(q.y())));
                    ++compared;
                }
        QVERIFY(compared >= 4);
        // Every line its own colour, the same one on both charts.
        const QList<QColor> colours = pc->lineColours(chart);
        QCOMPARE(int(colours.size()), lines);
        for (int i = 0; i < lines; ++i)
            for (int j = 0; j < i; ++j)
                QVERIFY2(colours[i] != colours[j], qPrintable(QStringLiteral("lines %1 and %2: %3").arg(i).arg(j).arg(colours[i].name())));
        QCOMPARE(colours, pc->lineColours(0));
    }
    // The legend names every line in full.
    const QStringList legend = pc->legend();
    QCOMPARE(int(legend.size()), lines);
    for (int l = 0; l < lines; ++l)
        QVERIFY2(legend[l].endsWith(report.runs[static_cast<std::size_t>(l)].name), qPrintable(legend[l]));
    for (const vorn::BandComparison &b : report.comparison) {
        QVERIFY(b.torqueDiffPercent.back());
        QVERIFY2(std::abs(*b.torqueDiffPercent.back() - (ratio - 1) * 100) < 0.5,
                 qPrintable(QString::number(*b.torqueDiffPercent.back())));
    }
    QCOMPARE(int(report.differences.size()), differences);
    if (differences) {
        const QStringList &row = report.differences.front();
        QCOMPARE(int(row.size()), 3);   // the parameter, then its value in each tune
        QVERIFY2(row[0].contains(QLatin1String("Advance")), qPrintable(row[0]));
        QVERIFY(row[1] != row[2]);
    }

    const QString shots = qEnvironmentVariable("VORN4_TEST_SHOTS");
    if (!shots.isEmpty())
        pc->widget()->grab().save(shots + QStringLiteral("/compare_pulls_%1.png").arg(QTest::currentDataTag()).replace(' ', '_'));
}

// The workbench, given the program's pull finder, shifts a further log so that its pull
// starts where the first log's does; without a finder it offers the time shift only.
void ComparePullsTest::workbenchAlignsByPull_data()
{
    QTest::addColumn<bool>("finder");
    QTest::addColumn<int>("idleRows");   // of the second log; the first idles 6 rows
    QTest::addColumn<bool>("aligned");
    QTest::newRow("later pull") << true << 12 << true;
    QTest::newRow("earlier pull") << true << 3 << true;
    QTest::newRow("no finder") << false << 12 << false;
}

void ComparePullsTest::workbenchAlignsByPull()
{
    QFETCH(bool, finder);
    QFETCH(int, idleRows);
    QFETCH(bool, aligned);
    const QString first = writePullLog(dir_->filePath("first.csv"), 1500, 20);
    const QString second = writePullLog(dir_->filePath("second.csv"), 1500, 20, idleRows);
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    FakeHost host(dir_->filePath("vorn4.ini"));
    LogViewUi ui(host, host.notifier, [] { return QString(); }, LogViewUi::defaultModuleDirs(),
                 finder ? vorn::logview::PullStarts(&vorn::logview::pullStartsOf) : vorn::logview::PullStarts());
    vorn::logview::Workbench *wb = ui.openWorkbench();
    QVERIFY(wb);
    QVERIFY(wb->openLog(first) && wb->addLog(second));
    QCOMPARE(wb->alignByPullStart(), aligned);
    // Rows are 330 ms apart and both pulls rise alike from their last idle row.
    const double expected = aligned ? (6 - idleRows) * 0.33 : 0.0;
    QVERIFY2(std::abs(wb->logOffset(1) - expected) < 0.02, qPrintable(QString::number(wb->logOffset(1))));
}

QTEST_MAIN(ComparePullsTest)
#include "comparepulls_test.moc"
