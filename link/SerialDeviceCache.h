// The serial devices the system reports, listed again only after a device came or went.
#pragma once

#include "SerialDevices.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QFileSystemWatcher;

namespace vorn {

// Listing the system's serial devices costs about 10 ms (the port enumeration walks sysfs
// and probes the legacy ports); a look that is taken once a second must not pay that each
// time. The folders where device nodes and their stable names appear are watched instead,
// and the list is made again only after one of them changed. Needs an event loop for the
// change notices.
class SerialDeviceCache {
public:
    using Lister = std::function<std::vector<SerialDevice>()>;
    // `lister` defaults to listSerialDevices(); `watched` to /dev and /dev/serial/by-id
    // (a folder that does not exist yet is watched from when it appears).
    explicit SerialDeviceCache(Lister lister = {}, QStringList watched = {});
    ~SerialDeviceCache();

    // The devices, listed again first when something changed since the last listing.
    const std::vector<SerialDevice> &devices();
    // The next devices() lists again (a person asked to see the devices afresh).
    void invalidate() { stale_ = true; }
    bool stale() const { return stale_; }
    int listings() const { return listings_; }

private:
    void watch();

    Lister lister_;
    QStringList watched_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    std::vector<SerialDevice> devices_;
    bool stale_ = true;
    int listings_ = 0;
};

}  // namespace vorn
