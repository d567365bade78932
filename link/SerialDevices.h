// The serial devices of this system, what they are and whether this user may open them.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vorn {

// Where the system keeps what the device facts are read from. The defaults are the real
// places; tests point them at folders of their own.
struct SerialSystem {
    QString byIdDir = QStringLiteral("/dev/serial/by-id");   // udev's stable names (symlinks)
    // Folders lock files "LCK..<name>" are kept in, by the programs that take them.
    QStringList lockDirs = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"), QStringLiteral("/tmp")};
    QString procDir = QStringLiteral("/proc");
};

// Who may open a device: the facts a permission error is explained with.
struct DeviceAccess {
    bool exists = false;
    bool mayOpen = false;          // access(2) for reading and writing succeeds
    QString group;                 // the group that owns the device
    bool inGroupNow = false;       // the running program has that group
    bool inGroupListed = false;    // the group database lists this user in it (takes
                                   // effect with the next login when not also inGroupNow)
};

struct SerialDevice {
    QString path;           // /dev/ttyUSB0
    QString byIdPath;       // /dev/serial/by-id/usb-..., empty when the system gives none
    bool hasUsbIds = false;
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString serialNumber;
    QString description;
    QString manufacturer;
    DeviceAccess access;

    // "0403:6001", empty without USB identifiers.
    QString usbId() const;
    // The name to store for it: the by-id name when there is one, as it survives re-plugging.
    QString preferredPath() const { return byIdPath.isEmpty() ? path : byIdPath; }
};

// The serial devices the system reports, sorted by path.
std::vector<SerialDevice> listSerialDevices(const SerialSystem &system = {});

// The facts of one device path (no USB identifiers: those come from the system's list).
SerialDevice describeSerialDevice(const QString &path, const SerialSystem &system = {});

// The link in byIdDir that leads to the same device as `path`, or empty.
QString byIdNameFor(const QString &path, const QString &byIdDir);

DeviceAccess accessOf(const QString &path);

// The device a stored port path leads to today: the canonical path of an existing device,
// empty when it leads nowhere.
QString resolvedDevice(const QString &path);

}  // namespace vorn
