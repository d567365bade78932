// Recording, replay and time in cell in the window, against the simulated unit on an
// in-memory port.
#include "host/Colors.h"
#include "app/ControlTable.h"
#include "app/Hlav.h"
#include "datalog/ui/DatalogController.h"
#include "datalog/ui/ReplayPanel.h"
#include "print/PagePrinter.h"
#include "support/ScriptedInteraction.h"
#include "support/SimPeer.h"

#include "FileTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

class DatalogWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void recordingWritesEveryDecodedReplyAndClosingCompletesTheLog();
    void replayDrivesTheHighlightWithoutTouchingThePort();
    void fullDiskStopsTheRecordingWithOneMessage();
    void anEditDuringReplayProgramsNothingAfterIt();
    void logMenuSpeaksEveryLanguage();

private:
    void createForm();
    void tick(int n)
    {
        for (int i = 0; i < n; ++i)
            form_->Timer1Timer();
    }
    bool lime(int row, int column) const
    {
        return vorn::ui::editBackground(form_->ControlTable[vorn::table::mapEdit(row, column)]) == vorn::ui::kLime;
    }
    QString statePart() const
    {
        auto *l = form_->findChild<QLabel *>("LabelLogState");
        return l && !l->isHidden() ? l->text() : QString();
    }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
    MemoryPort *port_ = nullptr;
    std::unique_ptr<vornsim::UnitModel> unit_;
};

void DatalogWindowTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    answers_ = ScriptedInteraction();
    unit_ = std::make_unique<vornsim::UnitModel>();
    testPortOpener = [this](const QString &, QString *) -> std::unique_ptr<vorn::PortIo> {
        auto port = std::make_unique<MemoryPort>();
        port_ = port.get();
        attachUnit(*port_, *unit_);
        return port;
    };
}

void DatalogWindowTest::cleanup()
{
    form_.reset();
    testPortOpener = nullptr;
    dir_.reset();
}

void DatalogWindowTest::createForm()
{
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->setPortOpener(testPortOpener);
    form_->FormCreate({});
    form_->Timer1->stop();   // the test gives the ticks
}

void DatalogWindowTest::recordingWritesEveryDecodedReplyAndClosingCompletesTheLog()
{
    // A folder picked once is where the logs go, and it is remembered in its own section.
    const QString folder = dir_->filePath("rides");
    QVERIFY(QDir().mkpath(folder));
    createForm();
    answers_.fileAnswers << folder;
    form_->action("MenuLogFolder")->trigger();
    QVERIFY(filetest::get(dir_->filePath("vorn4.ini")).contains("[LOG]\r\nFolder=" + folder.toUtf8()));

    QSignalSpy decoded(form_->Notifier, &vorn::host::HostNotifier::liveValuesDecoded);
    form_->action("MenuLogRecord")->trigger();
    QVERIFY(form_->Datalog->recording());
    QCOMPARE(statePart(), "REC 00:00");
    QCOMPARE(form_->action("MenuLogRecord")->text(), "Stop recording");
    QVERIFY(!form_->action("MenuLogReplay")->isEnabled());
    const QString path = form_->Datalog->recordingPath();
    QVERIFY2(QFileInfo(path).absolutePath() == folder, qPrintable(path));
    QVERIFY(QRegularExpression(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.csv$)").match(QFileInfo(path).fileName()).hasMatch());

    tick(18);
    // A Read pauses the monitor: its replies are not rows, and no row stands in for them.
    form_->action("MenuRead")->trigger();
    tick(40);
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    tick(18);
    const int replies = int(decoded.count());
    QVERIFY(replies >= 5);
    // Rows are in the file while the recording runs.
    QCOMPARE(vorn::readLog(path).rows.size(), std::size_t(replies));

    form_->close();   // completes the log
    QVERIFY(!form_->Datalog->recording());
    const vorn::LogContents log = vorn::readLog(path);
    QVERIFY(log.ok);
    QCOMPARE(int(log.rows.size()), replies);
    QCOMPARE(log.skippedRows, 0);
    QVERIFY(!log.truncatedTail);
    const vornsim::EngineState sent = vornsim::engineAt(1.0, unit_->memory);
    for (const vorn::LogRow &r : log.rows) {
        QCOMPARE(r.rpm, int(sent.rpm));
        QCOMPARE(r.throttlePercent, int(sent.tpsPercent));
        QCOMPARE(r.supplyMv, int(sent.supplyMv));
    }
    QVERIFY(QFileInfo::exists(vorn::timeInCellPathFor(path)));
}

void DatalogWindowTest::replayDrivesTheHighlightWithoutTouchingThePort()
{
    createForm();
    form_->ctl<QCheckBox>("CheckBoxTpsMapa")->setChecked(true);
    tick(12);   // live values from the unit
    const vorn::LiveValues live = form_->Live;
    QVERIFY(live.speed > 0);
    const QString rpmText = form_->ctl<QLabel>("LabelRpm")->text();
    const QString pickupText = form_->ctl<QLabel>("LabelMonSnimac1")->text();

    // Four rows with their logged cells, and one that does not parse.
    const QString log = dir_->filePath("ride.csv");
    filetest::put(log, "time_s,rpm,throttle_percent,throttle_mv,supply_mv,advance_1,advance_2,advance_3,advance_4,"
                       "servo_desired_mv,servo_measured_mv,blocking,shift_light,clutch_master,map_column,map_row\n"
                       "0.000,2345,12,800,12600,14,0,0,0,2000,2000,0,0,0,3,2\n"
                       "0.330,6789,55,2900,13100,30,0,0,0,2000,2000,0,1,0,7,5\n"
                       "0.66x,6789,55,2900,13100,30,0,0,0,2000,2000,0,1,0,7,5\n"
                       "0.660,6789,55,2900,13100,30,0,0,0,2000,2000,0,1,0,7,5\n"
                       "0.990,7000,60,3000,13100,31,0,0,0,2000,2000,0,0,0,7,5\n");
    const std::size_t writes = port_->written.size(), reads = port_->readRequests.size();
    QSignalSpy decoded(form_->Notifier, &vorn::host::HostNotifier::liveValuesDecoded);
    answers_.fileAnswers << log;
    form_->action("MenuLogReplay")->trigger();
    QVERIFY(form_->Replaying);
    QCOMPARE(statePart(), "REPLAY");
    for (const char *name : {"MenuRead", "MenuVerify", "MenuProgram", "MenuLogRecord"})
        QVERIFY2(!form_->action(name)->isEnabled(), name);
    QVERIFY(!form_->ctl<QWidget>("BitBtnProgram")->isEnabled());
    auto *panel = form_->Datalog->panel();
    QVERIFY(panel && !panel->isHidden());
    QCOMPARE(panel->findChild<QLabel *>("ReplayInfo")->text(), "1 unreadable row skipped");

    // The first row is on screen as a reply with these values would show it.
    form_->Datalog->togglePlay();   // pause
    QCOMPARE(form_->ctl<QLabel>("LabelRpm")->text(), "RPM = 2345 ");
    QVERIFY(lime(2, 3));
    panel->findChild<QSlider *>("ReplaySlider")->setValue(1);
    tick(30);   // the window's ticks go on; the session stands still
    QCOMPARE(form_->ctl<QLabel>("LabelRpm")->text(), "RPM = 6789 ");
    QVERIFY(lime(5, 7) && !lime(2, 3));
    QVERIFY(!form_->ctl<QLabel>("LabelMonSnimac1")->isEnabled());   // the log does not hold it

    // Played to the end at 16x: every row reaches the followers and the counts.
    form_->Datalog->setSpeed(16);
    form_->Datalog->togglePlay();
    QTRY_VERIFY(!form_->Datalog->player().playing());
    QCOMPARE(form_->Datalog->player().position(), std::size_t(3));
    QVERIFY(decoded.count() >= 4);
    form_->action("MenuLogTimeInCell")->trigger();
    auto *overlay = form_->findChild<QWidget *>("TimeInCellOverlay");
    QVERIFY(!overlay->isHidden());
    // Paper shows the map, not how long the engine stayed in it: the layer is away while
    // each page is taken, and back afterwards.
    struct OverlayWatch : PagePrinter {
        QWidget *overlay = nullptr;
        int pages = 0, withOverlay = 0;
        bool printPage(const QImage &, QString *) override
        {
            ++pages;
            withOverlay += overlay->isHidden() ? 0 : 1;
            return true;
        }
    };
    auto watch = std::make_shared<OverlayWatch>();
    watch->overlay = overlay;
    form_->pagePrinter = watch;
    form_->action("MenuPrintAll")->trigger();
    QVERIFY(watch->pages > 1);
    QCOMPARE(watch->withOverlay, 0);
    QVERIFY(!overlay->isHidden());
    const vorn::TimeInCell &counts = form_->Datalog->shownCounts();
    QCOMPARE(counts.cellMs(2, 3), 330);
    QCOMPARE(counts.cellMs(5, 7), 660);
    QCOMPARE(counts.totalMs(), 990);
    QCOMPARE(port_->written.size(), writes);
    QCOMPARE(port_->readRequests.size(), reads);

    // Leaving gives back the live unit as it was, and the session runs on.
    panel->findChild<QPushButton *>("ReplayLeave")->click();
    QVERIFY(!form_->Replaying);
    QCOMPARE(statePart(), QString());
    QCOMPARE(form_->ctl<QLabel>("LabelRpm")->text(), rpmText);
    QCOMPARE(form_->ctl<QLabel>("LabelMonSnimac1")->text(), pickupText);
    QVERIFY(form_->ctl<QLabel>("LabelMonSnimac1")->isEnabled());
    QCOMPARE(form_->Live.speed, live.speed);
    for (const char *name : {"MenuRead", "MenuVerify", "MenuProgram", "MenuLogRecord"})
        QVERIFY2(form_->action(name)->isEnabled(), name);
    QCOMPARE(form_->Datalog->shownCounts().cellMs(5, 7), 0);   // the run's counts again
    tick(6);
    QVERIFY(port_->written.size() > writes);

    // A file that is no log is refused with a box; the window stays live.
    answers_.fileAnswers << dir_->filePath("vorn4.ini");
    form_->action("MenuLogReplay")->trigger();
    QVERIFY(!form_->Replaying);
    QCOMPARE(answers_.messages.size(), 1);
}

void DatalogWindowTest::fullDiskStopsTheRecordingWithOneMessage()
{
    createForm();
    form_->action("MenuLogRecord")->trigger();
    const QString path = form_->Datalog->recordingPath();
    const qint64 headerBytes = QFileInfo(path).size();
    {
        // Room for the header and about two rows.
        filetest::FileSizeLimit limit(headerBytes + 200);
        if (!limit.active())
            QSKIP("cannot limit the file size here");
        tick(60);
        QTRY_COMPARE(answers_.messages.size(), 1);
    }
    QVERIFY(!form_->Datalog->recording());
    QVERIFY(answers_.messages[0].startsWith("Recording stopped"));
    QVERIFY(answers_.messages[0].contains(path));
    QCOMPARE(statePart(), QString());
    tick(30);
    QCOMPARE(answers_.messages.size(), 1);
    const vorn::LogContents log = vorn::readLog(path);
    QVERIFY(log.ok);
    QVERIFY(!log.rows.empty());   // what was written stays
}

// "Program after change" while a replay stands the session still: the edit is kept, and
// no Program waits for the replay to end.
void DatalogWindowTest::anEditDuringReplayProgramsNothingAfterIt()
{
    createForm();
    form_->ctl<QCheckBox>("CheckBoxProgHned")->setChecked(true);
    form_->AfterEdit();   // checking the box programs at once
    QCOMPARE(form_->Session.mode(), vorn::ModeProgram);
    for (int i = 0; i < 200 && form_->Session.mode() != vorn::ModeIdle; ++i)
        tick(1);
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    const int before = form_->Image.advance(4, 4);
    QCOMPARE(int(unit_->memory[vorn::Off::Advance + 44]), before);

    const QString log = dir_->filePath("ride.csv");
    filetest::put(log, QByteArray(vorn::kLogHeader) + "\n0.000,2345,12,800,12600,14,0,0,0,2000,2000,0,0,0,3,2\n");
    answers_.fileAnswers << log;
    form_->action("MenuLogReplay")->trigger();
    QVERIFY(form_->Replaying);
    form_->Image.advance(4, 4) = std::uint8_t(before + 1);
    form_->AfterEdit();
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    form_->Datalog->leaveReplay();
    tick(40);
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    QCOMPARE(int(form_->Image.advance(4, 4)), before + 1);
    QCOMPARE(int(unit_->memory[vorn::Off::Advance + 44]), before);   // the unit was not programmed
}

void DatalogWindowTest::logMenuSpeaksEveryLanguage()
{
    createForm();
    const QStringList titles = {"L&og", "Pr&otokoll", "&Journal", QString::fromUtf8("Zázna&m")};
    const QStringList record = {"Start recording", "Aufzeichnung starten", QString::fromUtf8("Démarrer l'enregistrement"),
                                "Spustit záznam"};
    const char *languages[] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};
    for (int l : {1, 2, 3, 0}) {
        form_->action(languages[l])->trigger();
        QCOMPARE(form_->findChild<QMenu *>("MenuLog")->title(), titles[l]);
        QCOMPARE(form_->action("MenuLogRecord")->text(), record[l]);
    }
}

QTEST_MAIN(DatalogWindowTest)
#include "datalog_test.moc"
