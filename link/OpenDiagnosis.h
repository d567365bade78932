// Why a serial device did not open, found out from the system, and what to tell the user.
#pragma once

#include "SerialDevices.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vorn {

// A process that has the device: from its lock file or its open descriptors.
struct DeviceHolder {
    qint64 pid = 0;
    QString program;     // the process's command name, or the lock file's when it has gone
    QStringList where;   // "/var/lock/LCK..ttyUSB0", "/proc/1234/fd/5"
};

struct OpenDiagnosis {
    enum Kind {
        Missing,      // no such device: not plugged in, or named differently
        Permission,   // this user may not open it
        Busy,         // another program has it
        Other,        // none of these: the system's reason is all there is
    };
    Kind kind = Other;
    QString device;                      // the path that was opened
    DeviceAccess access;
    std::vector<DeviceHolder> holders;   // Busy (and any other case where one was seen)
    QStringList presentDevices;          // the serial devices that do exist (preferred names)
    QString systemReason;

    // "sudo usermod -aG GROUP $USER" when joining the owning group would help; else empty.
    QString groupCommand() const;
};

// Which kind of failure the facts show. Permission wins over a holder: until the user may
// open the device, who else has it does not matter.
OpenDiagnosis::Kind classifyOpenFailure(const DeviceAccess &access, bool held);

// The processes (other than this one) that hold `device`: lock files "LCK..<name>" in the
// lock folders whose process still runs, and open descriptors under the proc folder.
std::vector<DeviceHolder> findDeviceHolders(const QString &device, const SerialSystem &system = {});

// Everything the system says about a failed open of `device`. `present` is the list of
// the system's serial devices (listSerialDevices()).
OpenDiagnosis diagnoseOpenFailure(const QString &device, const QString &systemReason,
                                  const std::vector<SerialDevice> &present, const SerialSystem &system = {});
OpenDiagnosis diagnoseOpenFailure(const QString &device, const QString &systemReason);

// The diagnosis as lines for a message box or a terminal, in language 0..3.
QString describeOpenDiagnosis(const OpenDiagnosis &diagnosis, int language);

}  // namespace vorn
