// Device facts and the diagnosis of a failed open, against real files: a pseudo-terminal
// as the device, temporary folders for the by-id links and lock files, a child process
// holding the device open as another program would.
#include "FileTestSupport.h"
#include "link/OpenDiagnosis.h"
#include "support/Pty.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using vorn::OpenDiagnosis;

namespace {

// A process other than the test that keeps `path` open on its standard input.
struct Holder {
    QProcess process;
    explicit Holder(const QString &path)
    {
        process.setStandardInputFile(path);
        process.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        process.waitForStarted();
    }
    ~Holder()
    {
        process.kill();
        process.waitForFinished();
    }
    qint64 pid() const { return process.processId(); }
};

}  // namespace

class SerialDevicesTest : public QObject {
    Q_OBJECT
private slots:
    void deviceFactsFromTheFileSystem();
    void holdersFromLockFilesAndOpenDescriptors();
    void diagnosisOfEachFailure();
};

void SerialDevicesTest::deviceFactsFromTheFileSystem()
{
    Pty pty;
    QVERIFY(!pty.slave.isEmpty());
    QTemporaryDir byId;
    const QString relative = byId.filePath(QStringLiteral("usb-Maker_Adapter_A1-if00-port0"));
    QVERIFY(QFile::link(QDir(byId.path()).relativeFilePath(pty.slave), relative));
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/ttyUSB7"), byId.filePath(QStringLiteral("usb-gone"))));
    const QString plainFile = byId.filePath(QStringLiteral("plain"));
    filetest::put(plainFile, "x");
    QTemporaryDir elsewhere;
    const QString viaLink = elsewhere.filePath(QStringLiteral("my-link"));
    QVERIFY(QFile::link(relative, viaLink));   // a user's link to the by-id link

    struct Row {
        const char *name;
        QString path;
        QString byIdName;
        bool exists;
    };
    const Row rows[] = {
        {"pty found through a relative by-id link", pty.slave, relative, true},
        {"a user's own link leads to the same by-id name", viaLink, relative, true},
        {"no link for an ordinary file", plainFile, QString(), true},
        {"missing device has neither", QStringLiteral("/nonexistent/ttyUSB7"), QString(), false},
    };
    for (const Row &row : rows) {
        const vorn::SerialDevice d = vorn::describeSerialDevice(row.path, {byId.path()});
        QVERIFY2(d.byIdPath == row.byIdName, row.name);
        QVERIFY2(d.access.exists == row.exists, row.name);
        QVERIFY2(d.preferredPath() == (row.byIdName.isEmpty() ? row.path : row.byIdName), row.name);
        if (row.exists) {
            QVERIFY2(d.access.group == QFileInfo(row.path).group(), row.name);
            QVERIFY2(d.access.mayOpen == (::access(QFile::encodeName(row.path), R_OK | W_OK) == 0), row.name);
        } else {
            QVERIFY2(!d.access.mayOpen && d.access.group.isEmpty(), row.name);
        }
    }
    QCOMPARE(vorn::resolvedDevice(viaLink), QFileInfo(pty.slave).canonicalFilePath());
    QVERIFY(vorn::resolvedDevice(byId.filePath(QStringLiteral("usb-gone"))).isEmpty());

    vorn::SerialDevice usb;
    usb.hasUsbIds = true;
    usb.vendorId = 0x403;
    usb.productId = 0x6001;
    QCOMPARE(usb.usbId(), QStringLiteral("0403:6001"));
}

void SerialDevicesTest::holdersFromLockFilesAndOpenDescriptors()
{
    Pty pty;
    QVERIFY(!pty.slave.isEmpty());
    QTemporaryDir locks;
    const QString ptyName = QFileInfo(pty.slave).fileName();
    Holder other(pty.slave);
    QVERIFY(other.pid() > 0);

    // A finished process leaves a free number: its lock is stale.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    QVERIFY(gone.waitForFinished());
    const qint64 stalePid = gone.processId();

    struct Row {
        const char *name;
        QByteArray lockContent;   // empty: no lock file
        bool lockCounts;
    };
    const Row rows[] = {
        {"a running holder's lock names it", QByteArray::number(other.pid()) + "\nminicom\nhost\n", true},
        {"an old-style padded lock counts too", QByteArray::number(other.pid()).rightJustified(10, ' ') + "\n", true},
        {"a stale lock holds nothing", QByteArray::number(stalePid) + "\n", false},
        {"a lock of this program is not another's", QByteArray::number(QCoreApplication::applicationPid()) + "\n", false},
        {"garbage is no lock", "not a number\n", false},
        {"no lock: the open descriptor alone", QByteArray(), false},
    };
    const QString lockPath = QDir(locks.path()).filePath(QStringLiteral("LCK..") + ptyName);
    const QString fdPrefix = QStringLiteral("/proc/%1/fd/").arg(other.pid());
    for (const Row &row : rows) {
        QFile::remove(lockPath);
        if (!row.lockContent.isEmpty())
            filetest::put(lockPath, row.lockContent);
        vorn::SerialSystem system;
        system.lockDirs = {locks.path()};
        const std::vector<vorn::DeviceHolder> holders = vorn::findDeviceHolders(pty.slave, system);
        QVERIFY2(holders.size() == 1, row.name);
        QVERIFY2(holders[0].pid == other.pid(), row.name);
        // The running process's own name wins over what a lock file claims.
        QVERIFY2(holders[0].program == QStringLiteral("sleep"), row.name);
        QVERIFY2(holders[0].where.contains(lockPath) == row.lockCounts, row.name);
        QVERIFY2(!holders[0].where.filter(fdPrefix).isEmpty(), row.name);
    }

    other.process.kill();
    other.process.waitForFinished();
    vorn::SerialSystem system;
    system.lockDirs = {locks.path()};
    QVERIFY(vorn::findDeviceHolders(pty.slave, system).empty());
}

void SerialDevicesTest::diagnosisOfEachFailure()
{
    Pty pty;
    QVERIFY(!pty.slave.isEmpty());
    Holder other(pty.slave);
    vorn::SerialDevice present;
    present.path = QStringLiteral("/dev/ttyUSB0");
    present.byIdPath = QStringLiteral("/dev/serial/by-id/usb-Maker_A1-if00");
    vorn::SerialSystem system;
    system.lockDirs = {};

    // Gathered from the system: a missing device and one another program holds.
    const OpenDiagnosis missing = vorn::diagnoseOpenFailure(QStringLiteral("/dev/ttyUSB9"), "No such file", {present}, system);
    QCOMPARE(missing.kind, OpenDiagnosis::Missing);
    QCOMPARE(missing.presentDevices, QStringList{present.byIdPath});
    const OpenDiagnosis busy = vorn::diagnoseOpenFailure(pty.slave, "Permission error while locking the device", {}, system);
    QCOMPARE(busy.kind, ::access(QFile::encodeName(pty.slave), R_OK | W_OK) == 0 ? OpenDiagnosis::Busy
                                                                                  : OpenDiagnosis::Permission);
    QCOMPARE(busy.holders.size(), std::size_t(1));

    // Permission facts as a non-privileged user meets them (this test may run as root,
    // whom access(2) never refuses).
    auto permission = [](bool now, bool listed) {
        OpenDiagnosis d;
        d.kind = OpenDiagnosis::Permission;
        d.device = QStringLiteral("/dev/ttyUSB0");
        d.access = {true, false, QStringLiteral("dialout"), now, listed};
        return d;
    };
    OpenDiagnosis other_;
    other_.device = QStringLiteral("/dev/ttyS0");
    other_.systemReason = QStringLiteral("Input/output error");

    struct Row {
        const char *name;
        OpenDiagnosis diagnosis;
        QString command;        // groupCommand()
        QStringList english;    // must all appear in the English text
    };
    const Row rows[] = {
        {"missing lists what exists", missing, {}, {"/dev/ttyUSB9 does not exist", "not plugged in", present.byIdPath}},
        {"nothing present says so", vorn::diagnoseOpenFailure("/dev/ttyUSB9", {}, {}, system), {}, {"no serial device"}},
        {"not in the group: the command", permission(false, false), "sudo usermod -aG dialout $USER",
         {"group \"dialout\"", "sudo usermod -aG dialout $USER", "log out and log in again"}},
        {"added but not yet logged in again", permission(false, true), {}, {"log out and log in again"}},
        {"in the group, device closed to it", permission(true, true), {}, {"does not let the group"}},
        {"busy names the program", busy, {}, {"sleep", QStringLiteral("/proc/%1/fd/0").arg(other.pid())}},
        {"anything else gives the system's reason", other_, {}, {"/dev/ttyS0: Input/output error"}},
    };
    for (const Row &row : rows) {
        QVERIFY2(row.diagnosis.groupCommand() == row.command, row.name);
        const QString english = vorn::describeOpenDiagnosis(row.diagnosis, 0);
        for (const QString &part : row.english)
            QVERIFY2(english.contains(part), qPrintable(QStringLiteral("%1: %2 in\n%3").arg(row.name, part, english)));
        if (row.diagnosis.kind != OpenDiagnosis::Other) {
            // Each language has its own words; the device and the command stay as they are.
            for (int language = 1; language <= 3; ++language) {
                const QString text = vorn::describeOpenDiagnosis(row.diagnosis, language);
                QVERIFY2(text != english && text.contains(row.diagnosis.device), row.name);
                QVERIFY2(row.command.isEmpty() || text.contains(row.command), row.name);
            }
        }
    }
}

QTEST_GUILESS_MAIN(SerialDevicesTest)
#include "serialdevices_test.moc"
