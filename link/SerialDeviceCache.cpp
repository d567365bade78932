// Watching the device folders so that the serial devices are listed only when they change.
#include "SerialDeviceCache.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace vorn {

SerialDeviceCache::SerialDeviceCache(Lister lister, QStringList watched)
    : lister_(std::move(lister)), watched_(std::move(watched)), watcher_(std::make_unique<QFileSystemWatcher>())
{
    if (!lister_)
        lister_ = [] { return listSerialDevices(); };
    if (watched_.isEmpty())
        watched_ = {QStringLiteral("/dev"), QStringLiteral("/dev/serial/by-id")};
    QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, watcher_.get(), [this] {
        stale_ = true;
        watch();   // /dev/serial/by-id appears with the first USB adapter
    });
    watch();
}

SerialDeviceCache::~SerialDeviceCache() = default;

void SerialDeviceCache::watch()
{
    const QStringList now = watcher_->directories();
    for (const QString &dir : watched_)
        if (!now.contains(dir) && QFileInfo(dir).isDir())
            watcher_->addPath(dir);
}

const std::vector<SerialDevice> &SerialDeviceCache::devices()
{
    if (stale_) {
        stale_ = false;
        devices_ = lister_();
        ++listings_;
    }
    return devices_;
}

}  // namespace vorn
