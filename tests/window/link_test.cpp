// The device link in the window: Com menu and port opening, status label and gauge during a
// session, the version box, the monitor labels and the active-cell highlight.
#include "host/Colors.h"
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "link/Monitor.h"
#include "support/SimPeer.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The port every window of this file opens; nullptr: the real serial adapter.
static TFormHlav::PortOpener testPortOpener;

namespace {

// A port that tells when it is destroyed, so a test can see a close.
class TrackedPort : public MemoryPort {
public:
    explicit TrackedPort(int *destroyed) : destroyed_(destroyed) {}
    ~TrackedPort() override { ++*destroyed_; }

private:
    int *destroyed_;
};

}  // namespace

class LinkWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void comMenuOpensTheMappedDevice_data();
    void comMenuOpensTheMappedDevice();
    void failedOpenShowsBoxAndLeavesNoPort();
    void lostDeviceIsClosedAndShownAsNoConnection();
    void readShowsProgressThenVerifyOk();
    void silentUnitTurnsStatusRed();
    void versionBoxOpensAfterTheTick();
    void monitorFrameFillsTheLabels();
    void highlightMarksTheLiveCell();
    void noConnectionLabelHiddenWhilePrinting();

private:
    void createForm();
    void tick(int n = 1);
    void writeIni(const QByteArray &text);
    QColor bg(const char *name) const { return vorn::ui::background(form_->ctl<QWidget>(name)); }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
    QStringList boxes_;
    QStringList opened_;
    int destroyed_ = 0;
    MemoryPort *port_ = nullptr;
    std::unique_ptr<vornsim::UnitModel> unit_;
    bool inTick_ = false;
    bool boxDuringTick_ = false;
};

void LinkWindowTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    boxes_.clear();
    opened_.clear();
    destroyed_ = 0;
    port_ = nullptr;
    boxDuringTick_ = false;
    unit_ = std::make_unique<vornsim::UnitModel>();
    answers_.onMessage = [this](const QString &text) {
        boxes_ << text;
        boxDuringTick_ |= inTick_;
    };
    testPortOpener = [this](const QString &device, QString *) -> std::unique_ptr<vorn::PortIo> {
        opened_ << device;
        auto port = std::make_unique<TrackedPort>(&destroyed_);
        port_ = port.get();
        attachUnit(*port_, *unit_);
        return port;
    };
}

void LinkWindowTest::cleanup()
{
    form_.reset();
    testPortOpener = nullptr;
    dir_.reset();
}

void LinkWindowTest::writeIni(const QByteArray &text)
{
    QFile f(dir_->filePath("vorn4.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

void LinkWindowTest::createForm()
{
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->setPortOpener(testPortOpener);
    form_->FormCreate({});
    form_->Timer1->stop();   // the tests give the ticks themselves
    vorn::fillMessageSlots(form_->Messages, 0);
}

void LinkWindowTest::tick(int n)
{
    for (int i = 0; i < n; ++i) {
        inTick_ = true;
        form_->Timer1Timer();
        inTick_ = false;
    }
}

void LinkWindowTest::comMenuOpensTheMappedDevice_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("device");
    QTest::newRow("mapped in [PORTS]") << 3 << "/tmp/unit-three";
    QTest::newRow("mapped, key in other case") << 7 << "/dev/ttyUSB0";
    QTest::newRow("not mapped") << 2 << "/dev/ttyS1";
    QTest::newRow("not mapped, ten") << 10 << "/dev/ttyS9";
}

void LinkWindowTest::comMenuOpensTheMappedDevice()
{
    QFETCH(int, item);
    QFETCH(QString, device);
    writeIni("[FORM_HLAV]\r\nComPort=1\r\n[ports]\r\nCOM3=/tmp/unit-three\r\ncom7 = /dev/ttyUSB0\r\n");
    createForm();
    QCOMPARE(opened_, QStringList{"/dev/ttyS0"});
    form_->action(QStringLiteral("MenuCom%1").arg(item))->trigger();
    QCOMPARE(opened_.last(), device);
    QCOMPARE(destroyed_, 1);   // the COM1 port was closed first
    QCOMPARE(int(form_->ComPort), item);
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(form_->action(QStringLiteral("MenuCom%1").arg(n))->isChecked(), n == item);
    QCOMPARE(form_->Session.port(), form_->Port.get());

    // The same item again closes and re-opens.
    form_->MenuCom1Click(item);
    QCOMPARE(opened_.size(), 3);
    QCOMPARE(destroyed_, 2);
    QVERIFY(boxes_.isEmpty());
}

void LinkWindowTest::failedOpenShowsBoxAndLeavesNoPort()
{
    createForm();
    QVERIFY(form_->Port);
    testPortOpener = [](const QString &device, QString *reason) -> std::unique_ptr<vorn::PortIo> {
        *reason = device + ": Permission denied";
        return nullptr;
    };
    form_->setPortOpener(testPortOpener);
    form_->MenuCom1Click(4);
    QCOMPARE(boxes_.size(), 1);
    QVERIFY(boxes_[0].startsWith("Com opening error\n"));
    QVERIFY(boxes_[0].contains("/dev/ttyS3"));
    QVERIFY(!form_->Port);
    QVERIFY(!form_->Session.port());
    QCOMPARE(destroyed_, 1);

    // Nothing is written anywhere; after 18 silent ticks the window says so.
    tick(19);
    QVERIFY(!form_->ctl<QWidget>("LabelSpojeni")->isHidden());

    // The real port adapter explains a missing device.
    form_->setPortOpener(nullptr);
    writeIni("[PORTS]\r\nCOM5=/nonexistent/vorn4-tty\r\n");
    form_->MenuCom1Click(5);
    QCOMPARE(boxes_.size(), 2);
    QVERIFY(boxes_[1].startsWith("Com opening error\n\n/nonexistent/vorn4-tty does not exist"));
    QVERIFY(!form_->Port);
}

void LinkWindowTest::lostDeviceIsClosedAndShownAsNoConnection()
{
    createForm();
    tick(7);   // a monitor request answered
    QVERIFY(form_->ctl<QWidget>("LabelSpojeni")->isHidden());
    port_->onLost();
    QVERIFY(form_->Port);   // closed from the event loop, not inside the port's own call
    QTRY_VERIFY(!form_->Port);
    QVERIFY(!form_->Session.port());
    QCOMPARE(destroyed_, 1);
    tick();
    QVERIFY(!form_->ctl<QWidget>("LabelSpojeni")->isHidden());
    // The user picks the port again.
    form_->action("MenuCom1")->trigger();
    QVERIFY(form_->Port);
    tick(7);
    QVERIFY(form_->ctl<QWidget>("LabelSpojeni")->isHidden());
}

void LinkWindowTest::readShowsProgressThenVerifyOk()
{
    createForm();
    auto *status = form_->ctl<QLabel>("LabelHlaseni");
    auto *gauge = form_->ctl<QProgressBar>("CGauge");
    QVERIFY(status->isHidden());
    form_->ctl<QLabel>("LabelFile2")->setText("/tmp/some.ign");
    form_->action("MenuRead")->trigger();
    QCOMPARE(status->text(), form_->Messages[vorn::Msg::Read]);
    QCOMPARE(bg("LabelHlaseni"), vorn::ui::buttonFace());
    QVERIFY(!status->isHidden());
    QVERIFY(!gauge->isHidden());
    QCOMPARE(gauge->value(), 0);
    QCOMPARE(form_->ctl<QLabel>("LabelFile2")->text(), QString());

    int maxGauge = 0;
    for (int i = 0; i < 60 && form_->Session.mode() != vorn::ModeIdle; ++i) {
        tick();
        maxGauge = std::max(maxGauge, gauge->value());
    }
    QCOMPARE(maxGauge, 2);
    QCOMPARE(status->text(), form_->Messages[vorn::Msg::Verify] + " OK");
    QVERIFY(gauge->isHidden());
    QVERIFY(form_->Image.bytes == unit_->memory);
    QCOMPARE(form_->Identification.version, "VRN04");
    QCOMPARE(form_->Identification.date, "12. 3.2024");
    QCOMPARE(form_->Identification.time, "14:30");

    tick(198);
    QVERIFY(!status->isHidden());
    tick();
    QVERIFY(status->isHidden());
}

void LinkWindowTest::silentUnitTurnsStatusRed()
{
    createForm();
    port_->peer = nullptr;
    form_->action("MenuVerify")->trigger();
    tick(24);
    QCOMPARE(form_->ctl<QLabel>("LabelHlaseni")->text(), form_->Messages[vorn::Msg::VerifyError]);
    QCOMPARE(bg("LabelHlaseni"), vorn::ui::kRed);
    QCOMPARE(form_->MessageCountdown(), 199);
    // The printing code sets the countdown too.
    form_->SetMessageCountdown(2);
    tick(2);
    QVERIFY(form_->ctl<QWidget>("LabelHlaseni")->isHidden());
    QVERIFY(form_->ctl<QWidget>("CGauge")->isHidden());
}

void LinkWindowTest::versionBoxOpensAfterTheTick()
{
    vornsim::Faults faults;
    faults.programVersion = 39;
    unit_ = std::make_unique<vornsim::UnitModel>(faults);
    createForm();
    form_->action("MenuProgram")->trigger();
    tick(6);
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    QVERIFY(boxes_.isEmpty());   // not opened inside Timer1Timer
    QTRY_COMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0], form_->Messages[vorn::Msg::UnmatchedVersion]);
    QVERIFY(!boxDuringTick_);
    QCOMPARE(port_->commands(), std::vector<int>{0x00});
    QCOMPARE(form_->Image[vorn::Off::ProgramVersion], 39);
}

void LinkWindowTest::monitorFrameFillsTheLabels()
{
    createForm();
    form_->Image[vorn::Off::BikeCode] = 22;
    form_->Image[vorn::Off::Limiter2] = 110;
    vorn::MonitorFields f;
    f.rpm = 12000;   // beyond the limiter: the gauge stays full
    f.supplyMv = 7000;
    f.tpsPercent = 37;
    f.tpsRaw = 512;
    f.advance = {10, 31, 0, 0};
    f.advanceMax = {0, 30, 0, 0};
    f.servoOk = 1;
    f.test[2] = 99;
    form_->ctl<QGroupBox>("GroupBoxPrivera")->hide();
    form_->DecodeMonitorFrame(vorn::monitorReplyFrame(f));

    QCOMPARE(form_->ctl<QLabel>("LabelRpm")->text(), "RPM = 12000 ");
    QCOMPARE(form_->ctl<QProgressBar>("CGaugeRpm")->value(), 100);
    QCOMPARE(form_->ctl<QLabel>("LabelNapeti")->text(), "U =  7.0 [V]");
    QCOMPARE(bg("LabelNapeti"), vorn::ui::kRed);
    QCOMPARE(form_->ctl<QLabel>("LabelTpsMon")->text(), "TP= 37 [%]= 2502 [mV]");
    QCOMPARE(form_->ctl<QProgressBar>("CGaugeTps")->value(), 37);
    QVERIFY(form_->ctl<QLabel>("LabelAdvance2")->text().contains("/max 30"));
    QCOMPARE(bg("LabelAdvance2"), vorn::ui::kYellow);
    QVERIFY(form_->ctl<QWidget>("LabelPriveraPoz")->isHidden());
    QCOMPARE(form_->ctl<QLabel>("LabelTest3")->text(), "Test3 = 99 ");
    QCOMPARE(form_->Live.speed, 12000);
    QCOMPARE(form_->Live.tpsPercent, 37);
    QCOMPARE(form_->Live.tpsMv, 2502);

    // A broken frame changes nothing.
    vorn::Frame bad = vorn::monitorReplyFrame(vorn::MonitorFields{});
    bad[30] ^= 4;
    form_->DecodeMonitorFrame(bad);
    QCOMPARE(form_->Live.speed, 12000);
    form_->ctl<QGroupBox>("GroupBoxPrivera")->show();
    form_->DecodeMonitorFrame(vorn::monitorReplyFrame(f));
    QVERIFY(!form_->ctl<QWidget>("LabelPriveraPoz")->isHidden());
}

void LinkWindowTest::highlightMarksTheLiveCell()
{
    createForm();
    for (int k = 0; k < 10; ++k)
        form_->Image.rpmAdv(k) = static_cast<std::uint8_t>(10 * (k + 1));
    form_->ctl<QCheckBox>("CheckBoxTpsMapa")->setChecked(true);
    form_->Live.speed = 1600;
    form_->Live.tpsPercent = 3;
    form_->HighlightActiveCell();
    auto lime = [&](const QString &suffix) { return vorn::ui::editBackground(form_->edit(suffix)) == vorn::ui::kLime; };
    int limeCells = 0;
    for (int n = 50; n < 150; ++n)
        limeCells += lime(QString::number(n));
    QCOMPARE(limeCells, 1);
    QVERIFY(lime("61"));   // row 1 (2 %), column 1
    QVERIFY(lime("RpmAdv2") && !lime("RpmAdv1"));
    QCOMPARE(bg("LabelTps2"), vorn::ui::kLime);
    QCOMPARE(bg("LabelTps1"), vorn::ui::buttonFace());

    form_->Live.speed = 900;   // below the map: no cell
    form_->HighlightActiveCell();
    limeCells = 0;
    for (int n = 50; n < 150; ++n)
        limeCells += lime(QString::number(n));
    QCOMPARE(limeCells, 0);
    QVERIFY(!lime("RpmAdv1"));
    QCOMPARE(vorn::ui::editBackground(form_->edit("61")), vorn::ui::windowColor());
    QVERIFY(form_->LiveCell.belowMap);
}

void LinkWindowTest::noConnectionLabelHiddenWhilePrinting()
{
    createForm();
    port_->peer = nullptr;
    tick(19);
    QVERIFY(!form_->ctl<QWidget>("LabelSpojeni")->isHidden());
    form_->Printing = true;
    tick();
    QVERIFY(form_->ctl<QWidget>("LabelSpojeni")->isHidden());
    form_->Printing = false;
    tick();
    QVERIFY(!form_->ctl<QWidget>("LabelSpojeni")->isHidden());
}

QTEST_MAIN(LinkWindowTest)
#include "link_test.moc"
