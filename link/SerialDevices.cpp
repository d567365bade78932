// Listing serial devices and finding out who may open them.
#include "SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

bool processHasGroup(gid_t gid)
{
    if (getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// The group database, read afresh: `usermod -aG` shows here at once, in the running
// program only after the next login.
bool databaseListsUser(gid_t gid)
{
    const passwd *user = getpwuid(geteuid());
    if (!user)
        return false;
    if (user->pw_gid == gid)
        return true;
    const group *g = getgrgid(gid);
    if (!g)
        return false;
    for (char **member = g->gr_mem; member && *member; ++member) {
        if (qstrcmp(*member, user->pw_name) == 0)
            return true;
    }
    return false;
}

}  // namespace

QString SerialDevice::usbId() const
{
    if (!hasUsbIds)
        return {};
    return QStringLiteral("%1:%2").arg(vendorId, 4, 16, QLatin1Char('0')).arg(productId, 4, 16, QLatin1Char('0'));
}

QString resolvedDevice(const QString &path)
{
    if (path.isEmpty())
        return {};
    return QFileInfo(path).canonicalFilePath();
}

QString byIdNameFor(const QString &path, const QString &byIdDir)
{
    const QString target = resolvedDevice(path);
    if (target.isEmpty())
        return {};
    const QDir dir(byIdDir);
    const QStringList names = dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QString link = dir.filePath(name);
        // udev's links are relative ("../../ttyUSB0"); canonicalFilePath resolves them
        // against the link's own folder.
        if (QFileInfo(link).isSymLink() && QFileInfo(link).canonicalFilePath() == target)
            return link;
    }
    return {};
}

DeviceAccess accessOf(const QString &path)
{
    DeviceAccess a;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return a;
    a.exists = true;
    a.mayOpen = ::access(native.constData(), R_OK | W_OK) == 0;
    if (const group *g = getgrgid(st.st_gid))
        a.group = QString::fromLocal8Bit(g->gr_name);
    else
        a.group = QString::number(st.st_gid);
    a.inGroupNow = processHasGroup(st.st_gid);
    a.inGroupListed = a.inGroupNow || databaseListsUser(st.st_gid);
    return a;
}

SerialDevice describeSerialDevice(const QString &path, const SerialSystem &system)
{
    SerialDevice d;
    d.path = path;
    d.byIdPath = byIdNameFor(path, system.byIdDir);
    d.access = accessOf(path);
    return d;
}

std::vector<SerialDevice> listSerialDevices(const SerialSystem &system)
{
    std::vector<SerialDevice> devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialDevice d = describeSerialDevice(info.systemLocation(), system);
        d.hasUsbIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
        d.vendorId = info.vendorIdentifier();
        d.productId = info.productIdentifier();
        d.serialNumber = info.serialNumber();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        devices.push_back(std::move(d));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice &a, const SerialDevice &b) { return a.path < b.path; });
    return devices;
}

}  // namespace vorn
