// Finding out why a serial device did not open.
#include "OpenDiagnosis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace vorn {

namespace {

QString commandName(const QString &procDir, qint64 pid)
{
    QFile comm(QStringLiteral("%1/%2/comm").arg(procDir).arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool processRuns(const QString &procDir, qint64 pid)
{
    return pid > 0 && QFileInfo::exists(QStringLiteral("%1/%2").arg(procDir).arg(pid));
}

// A lock file holds the process number as text on its first line (older programs pad it
// with spaces to ten characters); some writers put their program name on the second.
bool readLockFile(const QString &path, qint64 *pid, QString *program)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    *pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || *pid <= 0)
        return false;
    *program = QString::fromLocal8Bit(lines.value(1).trimmed());
    return true;
}

}  // namespace

QString OpenDiagnosis::groupCommand() const
{
    if (kind != Permission || access.group.isEmpty() || access.inGroupListed)
        return {};
    return QStringLiteral("sudo usermod -aG %1 $USER").arg(access.group);
}

OpenDiagnosis::Kind classifyOpenFailure(const DeviceAccess &access, bool held)
{
    if (!access.exists)
        return OpenDiagnosis::Missing;
    if (!access.mayOpen)
        return OpenDiagnosis::Permission;
    return held ? OpenDiagnosis::Busy : OpenDiagnosis::Other;
}

std::vector<DeviceHolder> findDeviceHolders(const QString &device, const SerialSystem &system)
{
    const qint64 self = QCoreApplication::applicationPid();
    const QString target = resolvedDevice(device);
    std::map<qint64, DeviceHolder> byPid;
    auto note = [&](qint64 pid, const QString &program, const QString &where) {
        DeviceHolder &h = byPid[pid];
        h.pid = pid;
        if (h.program.isEmpty())
            h.program = program;
        h.where << where;
    };

    // Lock files are named after the device's own name; a by-id link's name counts too.
    QStringList lockNames{QFileInfo(device).fileName()};
    if (!target.isEmpty() && !lockNames.contains(QFileInfo(target).fileName()))
        lockNames << QFileInfo(target).fileName();
    for (const QString &dir : system.lockDirs) {
        for (const QString &name : lockNames) {
            const QString lock = QDir(dir).filePath(QStringLiteral("LCK..") + name);
            qint64 pid = 0;
            QString program;
            if (!readLockFile(lock, &pid, &program) || pid == self || !processRuns(system.procDir, pid))
                continue;   // a stale lock holds nothing
            const QString running = commandName(system.procDir, pid);
            note(pid, running.isEmpty() ? program : running, lock);
        }
    }

    if (!target.isEmpty()) {
        const QDir proc(system.procDir);
        const QStringList pids = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &entry : pids) {
            bool isPid = false;
            const qint64 pid = entry.toLongLong(&isPid);
            if (!isPid || pid == self)
                continue;
            const QDir fds(proc.filePath(entry + QStringLiteral("/fd")));
            const QStringList names = fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
            for (const QString &fd : names) {
                const QString link = fds.filePath(fd);
                if (QFile::symLinkTarget(link) == target)
                    note(pid, commandName(system.procDir, pid), link);
            }
        }
    }

    std::vector<DeviceHolder> holders;
    for (auto &[pid, holder] : byPid)
        holders.push_back(std::move(holder));
    return holders;
}

OpenDiagnosis diagnoseOpenFailure(const QString &device, const QString &systemReason,
                                  const std::vector<SerialDevice> &present, const SerialSystem &system)
{
    OpenDiagnosis d;
    d.device = device;
    d.systemReason = systemReason;
    d.access = accessOf(device);
    if (d.access.exists)
        d.holders = findDeviceHolders(device, system);
    d.kind = classifyOpenFailure(d.access, !d.holders.empty());
    for (const SerialDevice &s : present)
        d.presentDevices << s.preferredPath();
    return d;
}

OpenDiagnosis diagnoseOpenFailure(const QString &device, const QString &systemReason)
{
    return diagnoseOpenFailure(device, systemReason, listSerialDevices());
}

}  // namespace vorn
