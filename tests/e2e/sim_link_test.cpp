// The real window's link through QSerialPort against vorn4-sim on a pseudo-terminal: Read,
// Program, Verify, the unit's faults, a hang-up, and the simulator's own life cycle.
#include "host/Colors.h"
#include "app/Hlav.h"
#include "support/ScriptedInteraction.h"
#include "link/SerialLink.h"
#include "sim/UnitModel.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kLong = 30000;   // ms; generous, the machine may be busy

// One vorn4-sim process; its memory is dumped when it ends.
class Simulator {
public:
    explicit Simulator(const QString &folder) : dump_(folder + "/unit.bin") {}
    ~Simulator() { stop(); }

    bool start(const QStringList &options)
    {
        process_.start(VORN4_SIM_EXE, options + QStringList{"--dump", dump_});
        if (!process_.waitForStarted(kLong))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(kLong))
                return false;
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !device_.isEmpty();
    }
    // Ends the simulator (SIGTERM) and returns the memory it held.
    QByteArray stopAndReadMemory()
    {
        stop();
        QFile f(dump_);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        process_.waitForFinished(kLong);
    }
    const QString &device() const { return device_; }
    QProcess &process() { return process_; }

private:
    QProcess process_;
    QString dump_;
    QString device_;
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

class SimLinkTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readProgramVerifyMatchTheUnit();
    void faultsEndAsTheyShould_data();
    void faultsEndAsTheyShould();
    void hangUpLeavesTheProgramResponsiveAndIdle();
    void replacedUnitOnTheSamePathIsReconnected();
    void secondOpenOfTheLineIsRefused();
    void simulatorStopsWhenItsPeerCloses();
    void lineIsRawWhileOpenAndRestoredAfter();

private:
    // The window's COM2 is the simulator's pty, or `portPath` when given.
    bool startSimAndWindow(const QStringList &options, const QString &portPath = {});
    QString status() const { return form_->ctl<QLabel>("LabelHlaseni")->text(); }
    bool idleWithStatus() const
    {
        return form_->Session.mode() == vorn::ModeIdle && !form_->ctl<QWidget>("LabelHlaseni")->isHidden();
    }
    QString verifyOk() const { return form_->Messages[vorn::Msg::Verify] + " OK"; }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Simulator> sim_;
    ScriptedInteraction answers_;
    std::unique_ptr<TFormHlav> form_;
    QStringList boxes_;
};

void SimLinkTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("VORN4_CONFIG_DIR", dir_->path().toLocal8Bit());
    boxes_.clear();
    answers_.onMessage = [this](const QString &text) { boxes_ << text; };
    sim_ = std::make_unique<Simulator>(dir_->path());
}

void SimLinkTest::cleanup()
{
    form_.reset();
    sim_.reset();
    dir_.reset();
}

bool SimLinkTest::startSimAndWindow(const QStringList &options, const QString &portPath)
{
    if (!sim_->start(options))
        return false;
    QFile ini(dir_->filePath("vorn4.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write(QStringLiteral("[PORTS]\r\nCOM2=%1\r\n[FORM_HLAV]\r\nComPort=2\r\n").arg(portPath.isEmpty() ? sim_->device() : portPath).toLocal8Bit());
    ini.close();
    form_ = std::make_unique<TFormHlav>();
    form_->setUserInteraction(&answers_);
    form_->FormCreate({});
    vorn::fillMessageSlots(form_->Messages, 0);
    return form_->Port != nullptr;
}

void SimLinkTest::readProgramVerifyMatchTheUnit()
{
    QVERIFY(startSimAndWindow({}));
    QVERIFY(boxes_.isEmpty());
    // The monitor runs: live values arrive and the no-connection label stays hidden.
    QTRY_VERIFY_WITH_TIMEOUT(form_->Live.speed > 0, kLong);
    QVERIFY(form_->ctl<QWidget>("LabelSpojeni")->isHidden());
    QVERIFY(form_->ctl<QLabel>("LabelRpm")->text().startsWith("RPM = "));

    form_->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idleWithStatus(), kLong);
    QCOMPARE(status(), verifyOk());
    const vornsim::Memory factory = vornsim::UnitModel::factoryMemory(40);
    QVERIFY(std::equal(factory.begin(), factory.end(), form_->Image.bytes.begin()));
    QCOMPARE(form_->Identification.version, "VRN04");

    // Change a map cell and the base advance through the image and the controls, then program.
    form_->Image.advance(4, 6) = 47;
    form_->Image.baseAdv() = 17;
    form_->ShowParameters();
    form_->ctl<QWidget>("LabelHlaseni")->hide();
    form_->action("MenuProgram")->trigger();
    QCOMPARE(form_->Session.mode(), vorn::ModeProgram);
    QTRY_VERIFY_WITH_TIMEOUT(idleWithStatus(), kLong);
    QCOMPARE(status(), verifyOk());

    form_->ctl<QWidget>("LabelHlaseni")->hide();
    form_->action("MenuVerify")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idleWithStatus(), kLong);
    QCOMPARE(status(), verifyOk());
    QVERIFY(boxes_.isEmpty());

    const QByteArray memory = sim_->stopAndReadMemory();
    QCOMPARE(memory.size(), vorn::kImageSize);
    QCOMPARE(static_cast<std::uint8_t>(memory[200 + 46]), 47);
    QCOMPARE(static_cast<std::uint8_t>(memory[109]), 17);
    QVERIFY(std::equal(form_->Image.bytes.begin() + 100, form_->Image.bytes.end(),
                       reinterpret_cast<const std::uint8_t *>(memory.constData()) + 100));
}

void SimLinkTest::faultsEndAsTheyShould_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("command");      // MenuRead, MenuProgram or MenuVerify
    QTest::addColumn<int>("outcome");          // the message slot of the status text
    QTest::addColumn<bool>("noConnection");    // LabelSpojeni stays shown afterwards
    using M = vorn::Msg;
    QTest::newRow("another program version") << QStringList{"--program-version", "39"} << "MenuRead" << int(M::UnmatchedVersion) << false;
    QTest::newRow("silent") << QStringList{"--silent"} << "MenuRead" << int(M::ReadError) << true;
    QTest::newRow("silent to block commands") << QStringList{"--silent-blocks"} << "MenuProgram" << int(M::ProgramError) << false;
    QTest::newRow("every reply corrupted") << QStringList{"--corrupt-every", "1"} << "MenuVerify" << int(M::VerifyError) << true;
    QTest::newRow("every 2nd reply dropped") << QStringList{"--drop-every", "2"} << "MenuRead" << int(M::Verify) << false;
    QTest::newRow("every 3rd check byte spoiled") << QStringList{"--corrupt-every", "3"} << "MenuProgram" << int(M::Verify) << false;
    QTest::newRow("replies in two writes") << QStringList{"--split"} << "MenuRead" << int(M::Verify) << false;
    QTest::newRow("stray bytes") << QStringList{"--stray-every", "3"} << "MenuRead" << int(M::Verify) << false;
    QTest::newRow("late replies") << QStringList{"--delay", "150"} << "MenuRead" << int(M::Verify) << false;
    QTest::newRow("unit keeps its own byte 101") << QStringList{"--wrong-101"} << "MenuProgram" << int(M::Verify) << false;
}

void SimLinkTest::faultsEndAsTheyShould()
{
    QFETCH(QStringList, options);
    QFETCH(QString, command);
    QFETCH(int, outcome);
    QFETCH(bool, noConnection);
    QVERIFY(startSimAndWindow(options));
    const auto expected = static_cast<vorn::Msg>(outcome);
    form_->action(command)->trigger();
    if (expected == vorn::Msg::UnmatchedVersion) {
        QTRY_VERIFY_WITH_TIMEOUT(!boxes_.isEmpty(), kLong);
        QCOMPARE(boxes_, QStringList{form_->Messages[expected]});
        QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
        QCOMPARE(form_->Image[vorn::Off::ProgramVersion], 39);
        // The monitor goes on after the box.
        const auto speed = form_->Live.speed;
        QTRY_VERIFY_WITH_TIMEOUT(form_->Live.speed != speed, kLong);
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(idleWithStatus(), kLong * 2);
    const bool ok = expected == vorn::Msg::Verify;
    QCOMPARE(status(), ok ? verifyOk() : form_->Messages[expected]);
    QCOMPARE(vorn::ui::background(form_->ctl<QWidget>("LabelHlaseni")) == vorn::ui::kRed, !ok);
    // Idle again, the monitor requests resume: a unit that answers them is seen again.
    auto *spojeni = form_->ctl<QWidget>("LabelSpojeni");
    if (noConnection) {
        QTest::qWait(1500);
        QVERIFY(!spojeni->isHidden());
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(spojeni->isHidden(), kLong);
    }
    QVERIFY(boxes_.isEmpty());
    if (ok && command == "MenuRead") {
        const vornsim::Memory factory = vornsim::UnitModel::factoryMemory(40);
        QVERIFY(std::equal(factory.begin(), factory.end(), form_->Image.bytes.begin()));
    }
    if (options.contains("--wrong-101"))
        QCOMPARE(static_cast<std::uint8_t>(sim_->stopAndReadMemory()[101]), vornsim::kOwnByte101);
}

void SimLinkTest::hangUpLeavesTheProgramResponsiveAndIdle()
{
    QVERIFY(startSimAndWindow({"--hangup-after", "8"}));
    QTRY_VERIFY_WITH_TIMEOUT(!form_->Port, kLong);
    QVERIFY(!form_->Session.port());
    QTRY_VERIFY_WITH_TIMEOUT(sim_->process().state() == QProcess::NotRunning, kLong);
    QTRY_VERIFY_WITH_TIMEOUT(!form_->ctl<QWidget>("LabelSpojeni")->isHidden(), kLong);

    // A closed line that kept reporting errors would keep this process busy.
    const double before = cpuSeconds();
    QTest::qWait(1000);
    const double used = cpuSeconds() - before;
    QVERIFY2(used < 0.5, qPrintable(QStringLiteral("%1 s of CPU in 1 s of waiting").arg(used)));

    bool ran = false;
    QTimer::singleShot(0, form_.get(), [&ran] { ran = true; });
    QTRY_VERIFY_WITH_TIMEOUT(ran, kLong);
    // A Read now fails the ordinary way.
    form_->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idleWithStatus() && status() == form_->Messages[vorn::Msg::ReadError], kLong);
}

void SimLinkTest::replacedUnitOnTheSamePathIsReconnected()
{
    // The simulator's pty changes per run; the stored port path is a link each one makes.
    const QString link = dir_->filePath("unit-tty");
    QVERIFY(startSimAndWindow({"--hangup-after", "2", "--link", link}, link));
    // Nobody chooses a port in this test: an opened port is the one come back by itself.
    QSignalSpy reconnected(form_->Notifier, &vorn::host::HostNotifier::portOpened);
    // The line goes away in the middle of this Read.
    form_->action("MenuRead")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!form_->Port, kLong);
    QCOMPARE(form_->Session.mode(), vorn::ModeIdle);
    QCOMPARE(status(), form_->Messages[vorn::Msg::ReadError]);
    QTRY_VERIFY_WITH_TIMEOUT(sim_->process().state() == QProcess::NotRunning, kLong);
    QVERIFY(!QFileInfo::exists(link));
    QTRY_VERIFY_WITH_TIMEOUT(!form_->ctl<QWidget>("LabelSpojeni")->isHidden(), kLong);
    QTest::qWait(1500);   // retries find no device: nothing opens, no box
    QVERIFY(!form_->Port);
    QCOMPARE(reconnected.count(), 0);

    Simulator second(dir_->path());
    QVERIFY(second.start({"--link", link}));
    // Within 3 s the window has the new line and the monitor's replies arrive again.
    QTRY_VERIFY_WITH_TIMEOUT(form_->Port != nullptr, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(form_->ctl<QWidget>("LabelSpojeni")->isHidden(), 3000);
    QCOMPARE(reconnected.count(), 1);
    QVERIFY(boxes_.isEmpty());
    QCOMPARE(status(), form_->Messages[vorn::Msg::ReadError]);
}

void SimLinkTest::secondOpenOfTheLineIsRefused()
{
    QVERIFY(startSimAndWindow({}));
    QString reason;
    auto second = vorn::SerialLink::open(sim_->device(), &reason);
    QVERIFY(!second);
    QVERIFY(!reason.isEmpty());
    // The program's own line keeps working.
    form_->action("MenuVerify")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(idleWithStatus(), kLong);
}

void SimLinkTest::simulatorStopsWhenItsPeerCloses()
{
    const QString link = dir_->filePath("unit-tty");
    QVERIFY(sim_->start({"--linger", "0", "--link", link}));
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim_->device());
    {
        QString reason;
        auto port = vorn::SerialLink::open(link, &reason);
        QVERIFY2(port, qPrintable(reason));
        const vorn::Frame request = vorn::monitorRequestFrame();
        port->write(request);
        QTRY_VERIFY_WITH_TIMEOUT(port->bytesWaiting() >= vorn::kFrameSize, kLong);
        QCOMPARE(static_cast<std::uint8_t>(port->read(vorn::kFrameSize)[0]), vorn::Cmd::MonitorReply);
    }
    QVERIFY(sim_->process().waitForFinished(kLong));
    QCOMPARE(sim_->process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim_->process().exitCode(), 0);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(dir_->filePath("unit.bin")).size(), vorn::kImageSize);
}

void SimLinkTest::lineIsRawWhileOpenAndRestoredAfter()
{
    QVERIFY(sim_->start({}));
    const QByteArray path = QFile::encodeName(sim_->device());
    // Leave the line the way a terminal would have it: 9600 bit/s, echo, line editing,
    // CR to NL, XON/XOFF.
    termios before{};
    {
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        QCOMPARE(tcgetattr(fd, &before), 0);
        before.c_lflag |= ECHO | ICANON | ISIG;
        before.c_iflag |= ICRNL | IXON;
        before.c_oflag |= OPOST | ONLCR;
        cfsetispeed(&before, B9600);
        cfsetospeed(&before, B9600);
        QCOMPARE(tcsetattr(fd, TCSANOW, &before), 0);
        ::close(fd);
    }
    {
        QString reason;
        auto port = vorn::SerialLink::open(sim_->device(), &reason);
        QVERIFY2(port, qPrintable(reason));
        // Bytes a cooked line would swallow or change must pass untouched both ways.
        std::array<std::uint8_t, vorn::kFrameDataSize> data{};
        const std::uint8_t awkward[] = {0x0D, 0x0A, 0x11, 0x13, 0x03, 0x04, 0x1A, 0x7F, 0xFF, 0x00};
        for (int j = 0; j < vorn::kFrameDataSize; ++j)
            data[j] = awkward[j % 10];
        const vorn::Frame request = vorn::makeFrame(0x01, data);
        port->write(request);
        port->waitUntilSent(100);
        QTRY_VERIFY_WITH_TIMEOUT(port->bytesWaiting() >= vorn::kFrameSize, kLong);
        const QByteArray reply = port->read(1024);
        QCOMPARE(reply.size(), vorn::kFrameSize);
        QCOMPARE(static_cast<std::uint8_t>(reply[0]), 0x81);
        QCOMPARE(reply.mid(1, 100), QByteArray(reinterpret_cast<const char *>(data.data()), 100));
    }
    termios after{};
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QCOMPARE(tcgetattr(fd, &after), 0);
    ::close(fd);
    QCOMPARE(cfgetospeed(&after), cfgetospeed(&before));
    QCOMPARE(after.c_lflag & (ECHO | ICANON | ISIG), before.c_lflag & (ECHO | ICANON | ISIG));
    QCOMPARE(after.c_iflag & (ICRNL | IXON), before.c_iflag & (ICRNL | IXON));
}

QTEST_MAIN(SimLinkTest)
#include "sim_link_test.moc"
