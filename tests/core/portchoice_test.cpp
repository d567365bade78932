// Choosing a device for a COM number: what [PORTS] becomes on disk, what each port leads to,
// and when the no-connection label points to the one adapter that is plugged in.
#include "FileTestSupport.h"
#include "files/ProfileIni.h"
#include "link/PortChoice.h"
#include "link/SerialDeviceCache.h"
#include "support/Pty.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using filetest::get;
using filetest::put;

namespace {

vorn::SerialDevice usbDevice(const char *path, const char *byId, quint16 vendor, quint16 product, const char *what)
{
    vorn::SerialDevice d;
    d.path = QString::fromLatin1(path);
    d.byIdPath = QString::fromLatin1(byId);
    d.hasUsbIds = true;
    d.vendorId = vendor;
    d.productId = product;
    d.description = QString::fromLatin1(what);
    return d;
}

}  // namespace

class PortChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void storingKeepsTheRestOfTheFile();
    void portStatesAndTheHint();
    void devicesListedAgainOnlyAfterAChange();
};

void PortChoiceTest::storingKeepsTheRestOfTheFile()
{
    const QString device = QStringLiteral("/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0");
    const QByteArray big = "[PORTS]\nCOM3=/dev/old\n;" + QByteArray(vorn::ProfileIni::kMaxFileSize, 'x') + "\n";
    struct Row {
        const char *name;
        QByteArray before;   // "<none>": no file
        int port;
        QByteArray after;    // "<unchanged>": the call fails and the file stays
    };
    const Row rows[] = {
        {"existing key replaced in place",
         "; serial devices\r\n[PORTS]\r\nCOM1=/dev/ttyUSB0\r\ncom3 = /dev/old\r\n\r\n[FORM_HLAV]\r\nComPort=3\r\n"
         "[LOG]\r\nFolder=/home/a/logs\r\n",
         3,
         "; serial devices\r\n[PORTS]\r\nCOM1=/dev/ttyUSB0\r\nCOM3=" + device.toUtf8()
             + "\r\n\r\n[FORM_HLAV]\r\nComPort=3\r\n[LOG]\r\nFolder=/home/a/logs\r\n"},
        {"new key after the section's last key",
         "[FORM_HLAV]\nLeft=5\n[PORTS]\nCOM1=/dev/a\n\n[VIEW]\nHeat=1", 3,
         "[FORM_HLAV]\nLeft=5\n[PORTS]\nCOM1=/dev/a\nCOM3=" + device.toUtf8() + "\n\n[VIEW]\nHeat=1"},
        {"new section at the end", "[FORM_HLAV]\nTop=7", 3,
         "[FORM_HLAV]\nTop=7\n[PORTS]\nCOM3=" + device.toUtf8() + "\n"},
        {"no file yet", "<none>", 10, "[PORTS]\r\nCOM10=" + device.toUtf8() + "\r\n"},
        {"a file too big to read whole is left alone", big, 3, "<unchanged>"},
        {"no such COM number", "[PORTS]\nCOM3=/dev/old\n", 11, "<unchanged>"},
    };
    for (const Row &row : rows) {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("vorn4.ini"));
        if (row.before != "<none>")
            put(ini, row.before);
        QString error;
        const bool stored = vorn::storeComDevicePath(ini, row.port, device, 0, &error);
        const bool fails = row.after == "<unchanged>";
        QVERIFY2(stored == !fails, row.name);
        QVERIFY2(error.isEmpty() == !fails, row.name);
        QVERIFY2(get(ini) == (fails ? row.before : row.after), row.name);
        if (!fails)
            QVERIFY2(vorn::comDevicePath(row.port, vorn::ProfileIni(ini)) == device, row.name);
    }
    QTemporaryDir dir;
    QVERIFY(!vorn::storeComDevicePath(dir.filePath("vorn4.ini"), 2, QStringLiteral("  "), 0));
    QVERIFY(!QFileInfo::exists(dir.filePath("vorn4.ini")));
}

void PortChoiceTest::portStatesAndTheHint()
{
    Pty pty;
    QVERIFY(!pty.slave.isEmpty());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("unit"));
    QVERIFY(QFile::link(pty.slave, link));
    // A legacy port node the kernel made with nothing behind it, as /dev/ttyS1 often is.
    const QString legacy = dir.filePath(QStringLiteral("ttyS7"));
    put(legacy, "");
    const QString canonicalPty = QFileInfo(pty.slave).canonicalFilePath();

    const vorn::SerialDevice adapterA =
        usbDevice("/dev/ttyUSB0", "/dev/serial/by-id/usb-Maker_A-if00-port0", 0x0403, 0x6001, "FT232R USB UART");
    const vorn::SerialDevice adapterB = usbDevice("/dev/ttyACM0", "", 0x2341, 0x0043, "Board");
    const vorn::SerialDevice plainPty = vorn::describeSerialDevice(pty.slave);
    vorn::SerialDevice reportedLegacy;
    reportedLegacy.path = legacy;
    using Devices = std::vector<vorn::SerialDevice>;

    const QString none = QStringLiteral("<none>");
    struct Row {
        const char *name;
        QString com2;                 // [PORTS] COM2, <none> for no key
        Devices reported;
        bool present;
        QString setTo, leadsTo;       // columns of the COM2 row
        const vorn::SerialDevice *suggested;
        QString ptyUsedBy;            // the pty row's "used by" when it is listed
    };
    const Row rows[] = {
        {"no adapter, nothing there", "/nonexistent/ttyUSB5", {}, false, "/nonexistent/ttyUSB5", "no such device",
         nullptr, {}},
        {"one adapter, nothing there", "/nonexistent/ttyUSB5", {adapterA}, false, "/nonexistent/ttyUSB5",
         "no such device", &adapterA, {}},
        {"two adapters: no guess", "/nonexistent/ttyUSB5", {adapterA, adapterB}, false, "/nonexistent/ttyUSB5",
         "no such device", nullptr, {}},
        {"a device without USB identifiers does not count", "/nonexistent/ttyUSB5", {adapterA, plainPty}, false,
         "/nonexistent/ttyUSB5", "no such device", &adapterA, {}},
        {"a link to a device leads there", link, {adapterA, plainPty}, true, link, canonicalPty, nullptr, "Com 2"},
        {"a legacy node the system does not report", legacy, {adapterA}, false, legacy,
         "the system reports no port there", &adapterA, {}},
        {"a legacy node the system reports", legacy, {adapterA, reportedLegacy}, true, legacy,
         QFileInfo(legacy).canonicalFilePath(), nullptr, {}},
        {"default when [PORTS] has no key", none, {adapterA, plainPty}, false, "/dev/ttyS1 (default)", {}, &adapterA,
         ""},
    };
    for (const Row &row : rows) {
        QTemporaryDir config;
        const QString ini = config.filePath(QStringLiteral("vorn4.ini"));
        put(ini, "[PORTS]\nCOM1=" + link.toUtf8() + (row.com2 == none ? QByteArray() : "\nCOM2=" + row.com2.toUtf8())
                     + "\n");
        const std::vector<vorn::ComPortState> states = vorn::comPortStates(vorn::ProfileIni(ini), row.reported);
        QVERIFY2(states.size() == 10, row.name);
        const vorn::ComPortState &com2 = states[1];
        QVERIFY2(com2.number == 2 && com2.present == row.present, row.name);
        const QStringList columns = vorn::comPortColumns(com2, 0);
        QVERIFY2(columns[0] == "Com 2" && columns[1] == row.setTo, row.name);
        if (!row.leadsTo.isEmpty())
            QVERIFY2(columns[2] == row.leadsTo, qPrintable(QString(row.name) + ": " + columns[2]));

        const vorn::SerialDevice *suggested = vorn::deviceToSuggest(com2, row.reported);
        QVERIFY2(bool(suggested) == bool(row.suggested), row.name);
        if (suggested)
            QVERIFY2(suggested->path == row.suggested->path, row.name);
        const QString hint = vorn::noConnectionHint(com2, row.reported, 0);
        if (row.suggested) {
            QVERIFY2(hint.contains(row.suggested->preferredPath()) && hint.contains(row.suggested->usbId())
                         && hint.contains("Com 2") && hint.contains("Port settings..."),
                     qPrintable(hint));
            QVERIFY2(vorn::noConnectionHint(com2, row.reported, 1).contains(QStringLiteral("Porteinstellungen")), row.name);
        } else {
            QVERIFY2(hint.isEmpty(), row.name);
        }
        for (const vorn::SerialDevice &d : row.reported)
            if (d.path == pty.slave) {
                // COM1 always leads to the pty through the link, COM2 only in one row.
                const QString usedBy = vorn::deviceColumns(d, states, 0)[1];
                QVERIFY2(usedBy == (row.ptyUsedBy.isEmpty() ? "Com 1" : "Com 1, " + row.ptyUsedBy), qPrintable(usedBy));
            }
    }
}

void PortChoiceTest::devicesListedAgainOnlyAfterAChange()
{
    QTemporaryDir dev;
    const QString byId = dev.filePath(QStringLiteral("by-id"));
    int listed = 0;
    vorn::SerialDeviceCache cache([&] { ++listed; return std::vector<vorn::SerialDevice>(listed); }, {dev.path(), byId});
    QCOMPARE(cache.devices().size(), std::size_t(1));
    QCOMPARE(cache.devices().size(), std::size_t(1));
    QCOMPARE(listed, 1);

    put(dev.filePath(QStringLiteral("ttyUSB0")), "");   // a device node appears
    QTRY_VERIFY(cache.stale());
    QCOMPARE(cache.devices().size(), std::size_t(2));
    QVERIFY(QDir(dev.path()).mkdir(QStringLiteral("by-id")));   // a folder watched once it exists
    QTRY_VERIFY(cache.stale());
    cache.devices();
    put(byId + QStringLiteral("/usb-Maker_A-if00-port0"), "");
    QTRY_VERIFY(cache.stale());
    QCOMPARE(cache.devices().size(), std::size_t(4));
    QCOMPARE(cache.listings(), 4);
}

QTEST_GUILESS_MAIN(PortChoiceTest)
#include "portchoice_test.moc"
