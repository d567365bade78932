// Resolving COM port numbers to device paths.
#include "PortPath.h"

#include "files/ConfigDir.h"
#include "files/ProfileIni.h"

namespace vorn {

QString comDevicePath(int n)
{
    if (n < 1 || n > kComPortCount)
        return {};
    const ProfileIni ini(configPath(kSettingsFileName));
    const QString device = ini.readString(QStringLiteral("PORTS"), QStringLiteral("COM%1").arg(n)).trimmed();
    return device.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(n - 1) : device;
}

}  // namespace vorn
