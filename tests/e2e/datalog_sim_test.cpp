// Recording against vorn4-sim through the real QSerialPort: the log holds exactly the
// replies the simulator put on the line, a Read in the middle included, and the tunes beside
// it say which map the unit ran before and after that Read.
#include "app/Hlav.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "files/IgnFile.h"
#include "params/TuneHash.h"
#include "datalog/ui/DatalogController.h"
#include "support/ScriptedInteraction.h"
#include "support/SimOnCom2.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kLong = 30000;   // ms; the machine may be busy

QList<QPair<int, int>> traceOf(const QString &path)
{
    QList<QPair<int, int>> sent;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return sent;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QList<QByteArray> v = line.split(',');
        if (v.size() == 2)
            sent.append({v[0].toInt(), v[1].toInt()});
    }
    return sent;
}

}  // namespace

class DatalogSimTest : public QObject {
    Q_OBJECT
private slots:
    void recordedRowsAreWhatTheSimulatorSent();
};

void DatalogSimTest::recordedRowsAreWhatTheSimulatorSent()
{
    QTemporaryDir dir;
    qputenv("VORN4_CONFIG_DIR", dir.path().toLocal8Bit());
    const QString trace = dir.filePath("sent.txt");
    QProcess sim;
    const QString device = startSimOnCom2(sim, {"--trace", trace}, dir.path(), kLong);
    QVERIFY(!device.isEmpty());

    ScriptedInteraction answers;
    auto form = std::make_unique<TFormHlav>();
    form->setUserInteraction(&answers);
    form->FormCreate({});
    QVERIFY(form->Port);
    QTRY_VERIFY_WITH_TIMEOUT(form->Live.speed > 0, kLong);

    // A tune is named by what its file holds.
    auto keptHash = [](const vorn::ParameterImage &image) {
        vorn::ParameterImage file;
        vorn::ReadParameterFile(vorn::WriteParameterFile(image), file);
        return vorn::tuneHash(file);
    };
    form->Image[205] = static_cast<std::uint8_t>(form->Image[205] ^ 1);   // not what the unit holds
    const QString atStart = keptHash(form->Image);
    QSignalSpy decoded(form->Notifier, &vorn::host::HostNotifier::liveValuesDecoded);
    form->action("MenuLogRecord")->trigger();
    const QString log = form->Datalog->recordingPath();
    QTRY_VERIFY_WITH_TIMEOUT(decoded.count() >= 4, kLong);
    form->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(form->Session.mode() == vorn::ModeIdle, kLong);
    const int afterRead = int(decoded.count());
    const QString read = keptHash(form->Image);
    QTRY_VERIFY_WITH_TIMEOUT(decoded.count() >= afterRead + 4, kLong);
    form->action("MenuLogRecord")->trigger();
    QVERIFY(answers.messages.isEmpty());
    form.reset();
    sim.terminate();
    QVERIFY(sim.waitForFinished(kLong));

    const vorn::LogContents contents = vorn::readLog(log);
    QVERIFY(contents.ok);
    QCOMPARE(contents.skippedRows, 0);
    const std::vector<vorn::LogRow> &rows = contents.rows;
    QVERIFY(rows.size() >= 8);
    const auto sent = traceOf(trace);
    // Every row is one reply of the simulator, in order, none left out and none added.
    int match = -1;
    for (int k = 0; match < 0 && k + int(rows.size()) <= sent.size(); ++k) {
        bool all = true;
        for (std::size_t i = 0; all && i < rows.size(); ++i)
            all = sent[k + int(i)] == qMakePair(rows[i].rpm, rows[i].throttlePercent);
        if (all)
            match = k;
    }
    QVERIFY2(match >= 0, qPrintable(QStringLiteral("%1 rows, %2 replies sent; first row %3 rpm %4 %")
                                        .arg(rows.size()).arg(sent.size()).arg(rows[0].rpm)
                                        .arg(rows[0].throttlePercent)));
    for (std::size_t i = 1; i < rows.size(); ++i)
        QVERIFY(rows[i].timeMs > rows[i - 1].timeMs);

    const std::vector<vorn::LogTune> tunes = vorn::tunesBesideLog(log);
    QCOMPARE(int(tunes.size()), 2);
    QCOMPARE(tunes[0].hash, atStart);
    QCOMPARE(tunes[1].hash, read);
    QVERIFY(atStart != read);
    QVERIFY(tunes[1].fromMs >= rows[3].timeMs);   // four replies came before the Read
}

QTEST_MAIN(DatalogSimTest)
#include "datalog_sim_test.moc"
