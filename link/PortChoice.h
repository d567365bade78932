// Which device each COM port number leads to, choosing one for it, and what to tell a
// person whose chosen port leads nowhere while an adapter is plugged in.
#pragma once

#include "SerialDevices.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorn {

class ProfileIni;

// What COM port n stands for today.
struct ComPortState {
    int number = 0;
    QString path;          // key COMn of [PORTS], or the default /dev/ttyS<n-1>
    bool stored = false;   // [PORTS] names it
    QString device;        // the device the path leads to (canonical), empty when none
    // The path leads to a port that is there. The kernel makes the legacy ttyS<N> nodes
    // whether or not a port is behind them, so one of those counts only when the system
    // reports it.
    bool present = false;
};

// The device COM port n uses when [PORTS] does not name one.
QString defaultComDevicePath(int n);
// COMn of [PORTS] in `ini`, else the default. Empty for a number outside 1..10.
QString comDevicePath(int n, const ProfileIni &ini);

// The state of COM port n, judged against the serial devices the system reports.
ComPortState comPortState(int n, const ProfileIni &ini, const std::vector<SerialDevice> &reported);
// COM1..COM10 in order.
std::vector<ComPortState> comPortStates(const ProfileIni &ini, const std::vector<SerialDevice> &reported);

// Whether COMn=devicePath can be stored: false, with the reason in `language`, when n is
// outside 1..10 or the path is empty.
bool canStoreComDevicePath(int n, const QString &devicePath, int language, QString *error = nullptr);
// Writes COMn=devicePath (trimmed) into [PORTS] of `ini`; every other section, key,
// comment and line end stays as it was. The form SettingsAccess::write takes.
void writeComDevicePath(ProfileIni &ini, int n, const QString &devicePath);
// Both of the above on the settings file at iniPath, and saves it. False, with the reason
// in `language`, when the path cannot be stored, the file exists but could not be read
// whole (saving would lose what it holds) or it could not be written.
bool storeComDevicePath(const QString &iniPath, int n, const QString &devicePath, int language,
                        QString *error = nullptr);

// The COM numbers whose port leads to this device now.
QList<int> comNumbersUsing(const SerialDevice &device, const std::vector<ComPortState> &states);

// The columns of the port list and of the device list, and their headers, in `language`.
QStringList comPortHeaders(int language);
QStringList comPortColumns(const ComPortState &state, int language);
QStringList deviceHeaders(int language);
QStringList deviceColumns(const SerialDevice &device, const std::vector<ComPortState> &states, int language);

// The one USB serial device to point to when the chosen port leads nowhere: only when
// exactly one is plugged in. nullptr otherwise.
const SerialDevice *deviceToSuggest(const ComPortState &chosen, const std::vector<SerialDevice> &reported);
// What the no-connection label tells about it, or empty when deviceToSuggest has none.
QString noConnectionHint(const ComPortState &chosen, const std::vector<SerialDevice> &reported, int language);

}  // namespace vorn
