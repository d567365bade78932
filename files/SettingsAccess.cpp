#include "SettingsAccess.h"

#include "AtomicFile.h"

#include <QFileInfo>

namespace vorn {

SettingsAccess::SettingsAccess(const QString &path) : path_(path)
{
    readWhole_ = ProfileIni(path_).readWhole();
}

ProfileIni SettingsAccess::read() const
{
    ProfileIni ini(path_);
    if (readWhole_ && ini.readWhole())
        return ini;
    // What was written beside the file holds the newest values; a beside file that is
    // itself unreadable counts for nothing.
    ProfileIni beside(besidePath());
    if (QFileInfo::exists(besidePath()) && beside.readWhole())
        return beside;
    return ini;
}

QString SettingsAccess::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return read().readString(section, key, defaultValue);
}

bool SettingsAccess::write(const std::function<void(ProfileIni &)> &change, QString *error)
{
    ProfileIni ini(path_);
    if (!ini.readWhole())
        readWhole_ = false;
    if (readWhole_) {
        change(ini);
        if (ini.save()) {
            wroteBeside_ = false;
            return true;
        }
        if (error)
            *error = QStringLiteral("could not write %1").arg(path_);
        return false;
    }
    ProfileIni beside = read();
    change(beside);
    if (writeFileAtomically(besidePath(), beside.content())) {
        wroteBeside_ = true;
        return true;
    }
    if (error)
        *error = QStringLiteral("could not write %1").arg(besidePath());
    return false;
}

bool SettingsAccess::writeString(const QString &section, const QString &key, const QString &value, QString *error)
{
    return write([&](ProfileIni &ini) { ini.writeString(section, key, value); }, error);
}

}  // namespace vorn
