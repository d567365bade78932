// Recording, replay and the port chooser against a stand-in host, without the window: what
// they ask of the host, in which order, and what they write into the settings file.
#include "datalog/ui/DatalogController.h"
#include "link/ui/PortSettingsUi.h"
#include "support/FakeHost.h"

#include "FileTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <thread>

namespace {

const QByteArray kRows = "0.000,2345,12,800,12600,14,0,0,0,2000,2000,0,0,0,3,2\n"
                         "0.330,6789,55,2900,13100,30,0,0,0,2000,2000,0,1,0,7,5\n"
                         "0.660,7000,60,3000,13100,31,0,0,0,2000,2000,0,0,0,7,5\n";

QAction *placedAction(FakeHost &host, vorn::host::MenuPlace place, const char *name)
{
    for (QAction *a : host.placed.value(place))
        if (a && a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

// The calls of the host's replay role, each run of equal calls said once.
QString replayCalls(const std::vector<QString> &log)
{
    QStringList calls;
    for (const QString &c : log)
        if (c.endsWith(QLatin1String("Replay")) || c == QLatin1String("showReplayed"))
            if (calls.isEmpty() || calls.last() != c)
                calls << c;
    return calls.join(QLatin1Char(','));
}

}  // namespace

class DatalogFeatureTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void logMenu_data();
    void logMenu();
    void settingsWrites_data();
    void settingsWrites();
    void timeInCell_data();
    void timeInCell();
    void portHint_data();
    void portHint();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void DatalogFeatureTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
}

void DatalogFeatureTest::cleanup()
{
    dir_.reset();
}

// A log is played through the host's replay role; a file that is no log, or a log that
// cannot be written, is refused in the language of the box, and the host's monitor is
// never taken.
void DatalogFeatureTest::logMenu_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("said");   // a part of the one message; empty: no message
    const QString replay = "MenuLogReplay";
    QTest::newRow("a log, played and left") << replay << QByteArray(vorn::kLogHeader) + "\n" + kRows << 0
                                            << "beginReplay,showReplayed,endReplay" << QString();
    QTest::newRow("no log, German") << replay << QByteArray("rpm,throttle\n1,2\n") << 1 << QString()
                                    << "es ist keine Aufzeichnung";
    QTest::newRow("empty, French") << replay << QByteArray() << 2 << QString() << "le fichier est vide";
    QTest::newRow("no log, Czech") << replay << QByteArray("[PORTS]\nCOM1=/dev/ttyUSB0\n") << 3 << QString()
                                   << "nejde o záznam";
    QTest::newRow("header only, English") << replay << QByteArray(vorn::kLogHeader) + "\n" << 0 << QString()
                                          << "holds no readable rows";
    // The log folder lies below a file: no folder can be made there.
    QTest::newRow("recording, no folder, German") << "MenuLogRecord" << QByteArray() << 1 << QString()
                                                  << "der Ordner lässt sich nicht anlegen";
}

void DatalogFeatureTest::logMenu()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, content);
    QFETCH(int, language);
    QFETCH(QString, calls);
    QFETCH(QString, said);
    const QString log = dir_->filePath("ride.csv");
    filetest::put(log, content);
    filetest::put(dir_->filePath("vorn4.ini"), "[LOG]\r\nFolder=" + log.toUtf8() + "/logs\r\n");
    FakeHost host(dir_->filePath("vorn4.ini"));
    host.lang = language;
    DatalogController datalog(host, host, host, host.notifier);
    host.fileAnswers.push_back(log);
    placedAction(host, vorn::host::MenuPlace::Log, qPrintable(command))->trigger();   // through the shell's guard
    QVERIFY(!datalog.recording());
    datalog.leaveReplay();
    QCOMPARE(replayCalls(host.callLog), calls);
    QVERIFY(!host.inReplay);
    if (said.isEmpty()) {
        QVERIFY(host.messages.isEmpty());
    } else {
        QCOMPARE(host.messages.size(), 1);
        QVERIFY2(host.messages[0].contains(said), qPrintable(host.messages[0]));
    }
}

// [PORTS] from the port chooser and [LOG] from "Log folder..." go through the host's
// settings access: kept lines stay, and a file that could not be read whole stays as it
// is (the port is then not switched, since the window opens what the file names).
void DatalogFeatureTest::settingsWrites_data()
{
    QTest::addColumn<bool>("portChooser");
    QTest::addColumn<bool>("readsWhole");
    QTest::newRow("port chooser") << true << true;
    QTest::newRow("port chooser, unreadable file") << true << false;
    QTest::newRow("log folder") << false << true;
    QTest::newRow("log folder, unreadable file") << false << false;
}

void DatalogFeatureTest::settingsWrites()
{
    QFETCH(bool, portChooser);
    QFETCH(bool, readsWhole);
    const QString ini = dir_->filePath("vorn4.ini");
    QByteArray before = "[PORTS]\r\nCOM5=/dev/elsewhere\r\n[OTHER]\r\nKept=1\r\n";
    if (!readsWhole)
        before += "; " + QByteArray(int(vorn::ProfileIni::kMaxFileSize), 'x') + "\r\n";
    filetest::put(ini, before);
    FakeHost host(ini);
    const QString rides = dir_->filePath("rides");
    if (portChooser) {
        PortSettingsUi ports(host, host, host.notifier, [] { return std::vector<vorn::SerialDevice>(); });
        QCOMPARE(ports.choose(2, " /dev/ttyUSB0 "), readsWhole);
    } else {
        DatalogController datalog(host, host, host, host.notifier);
        host.fileAnswers.push_back(rides);
        placedAction(host, vorn::host::MenuPlace::Log, "MenuLogFolder")->trigger();
        // Remembered for this run either way.
        QCOMPARE(datalog.logFolder(), rides);
    }
    const QByteArray after = filetest::get(ini);
    if (!readsWhole) {
        QVERIFY(after == before);
        QCOMPARE(host.messages.size(), portChooser ? 1 : 0);
        QVERIFY(std::find(host.callLog.begin(), host.callLog.end(), "selectPort 2") == host.callLog.end());
        return;
    }
    QVERIFY(after.startsWith("[PORTS]\r\nCOM5=/dev/elsewhere\r\n"));
    QVERIFY(after.contains("[OTHER]\r\nKept=1\r\n"));
    if (portChooser) {
        QVERIFY2(after.contains("COM2=/dev/ttyUSB0\r\n"), after.constData());
        QCOMPARE(host.callLog.back(), "selectPort 2");
    } else {
        QVERIFY2(after.contains("[LOG]\r\nFolder=" + rides.toUtf8() + "\r\n"), after.constData());
    }
    QVERIFY(host.messages.isEmpty());
}

// The counts kept beside a log are that recording's alone; taking them as the run's asks
// first whenever the run has counts of its own.
void DatalogFeatureTest::timeInCell_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("taken");
    QTest::newRow("no keeps the run's counts") << int(QMessageBox::No) << false;
    QTest::newRow("cancel keeps the run's counts") << int(QMessageBox::Cancel) << false;
    QTest::newRow("yes takes the log's") << int(QMessageBox::Yes) << true;
}

void DatalogFeatureTest::timeInCell()
{
    QFETCH(int, answer);
    QFETCH(bool, taken);
    FakeHost host(dir_->filePath("vorn4.ini"));
    DatalogController datalog(host, host, host, host.notifier);
    auto samples = [&](int row, int column) {
        host.cell.throttleRow = row;
        host.cell.advanceColumn = column;
        for (int i = 0; i < 4; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));   // time to count
            emit host.notifier.liveValuesDecoded();
        }
    };
    samples(1, 1);   // before the recording
    datalog.startRecording();
    QVERIFY(datalog.recording());
    samples(7, 8);
    datalog.stopRecording();
    samples(1, 1);   // after it
    const vorn::TimeInCell run = datalog.shownCounts();
    QVERIFY(run.cellMs(1, 1) > 0);

    const std::optional<vorn::TimeInCell> kept = vorn::loadTimeInCell(datalog.recordingPath());
    QVERIFY(kept);
    QCOMPARE(kept->cellMs(1, 1), 0);
    QVERIFY(kept->cellMs(7, 8) > 0);
    QCOMPARE(kept->totalMs(), kept->cellMs(7, 8));

    host.questionAnswer = answer;
    QCOMPARE(datalog.loadTimeInCellOf(datalog.recordingPath()), taken);
    QCOMPARE(host.questions.size(), 1);
    QVERIFY(datalog.shownCounts() == (taken ? *kept : run));
}

// The port hint has a status-bar part of its own, in the language of the window; the
// host's hint panel is never written (the stand-in has no way to).
void DatalogFeatureTest::portHint_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("part");
    QTest::newRow("English") << 0 << "Com 2: no device, an adapter is plugged in";
    QTest::newRow("German") << 1 << "Com 2: kein Gerät, ein Adapter steckt";
    QTest::newRow("French") << 2 << "Com 2 : aucun périphérique, un adaptateur est branché";
    QTest::newRow("Czech") << 3 << "Com 2: žádné zařízení, převodník je připojen";
}

void DatalogFeatureTest::portHint()
{
    QFETCH(int, language);
    QFETCH(QString, part);
    const QString ini = dir_->filePath("vorn4.ini");
    filetest::put(ini, "[PORTS]\r\nCOM2=/nonexistent/ttyS9\r\n");
    FakeHost host(ini);
    host.com = 2;
    host.lang = language;
    vorn::SerialDevice adapter;
    adapter.path = "/nonexistent/ttyUSB3";
    adapter.byIdPath = "/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0";
    adapter.vendorId = 0x0403;
    adapter.productId = 0x6001;
    adapter.hasUsbIds = true;
    PortSettingsUi ports(host, host, host.notifier, [&] { return std::vector<vorn::SerialDevice>{adapter}; });
    QCOMPARE(host.statusParts.size(), 1);
    QLabel *shown = ports.hintPart();
    QCOMPARE(host.statusParts[0], shown);
    QVERIFY(shown->isHidden());
    emit host.notifier.noConnectionChanged(true);
    QTRY_VERIFY(!shown->isHidden());
    QCOMPARE(shown->text(), part);
    QVERIFY(shown->toolTip().contains(adapter.byIdPath));
    QVERIFY(shown->statusTip().isEmpty());
    emit host.notifier.noConnectionChanged(false);
    QVERIFY(shown->isHidden());
}

QTEST_MAIN(DatalogFeatureTest)
#include "datalog_test.moc"
