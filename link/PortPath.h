// Which device a COM port number stands for on this system.
#pragma once

#include <QString>

namespace vorn {

constexpr int kComPortCount = 10;

// The device of COM port n (1..10): key "COMn" of section [PORTS] in the settings file
// when it is there, else /dev/ttyS<n-1>. Empty for any other number.
QString comDevicePath(int n);

}  // namespace vorn
