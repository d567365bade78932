// Resolving COM port numbers to device paths.
#include "PortPath.h"

#include "PortChoice.h"
#include "files/ConfigDir.h"
#include "files/ProfileIni.h"

namespace vorn {

QString comDevicePath(int n)
{
    if (n < 1 || n > kComPortCount)
        return {};
    return comDevicePath(n, ProfileIni(configPath(kSettingsFileName)));
}

}  // namespace vorn
