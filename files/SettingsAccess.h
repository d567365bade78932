// The one way the program reads and writes its settings file. A settings file that could
// not be read whole (too large, unreadable, a read error) is never replaced: what would be
// written goes into a file beside it, so [PORTS] and every section someone else keeps in
// it survive. The window and every feature write through one instance of this.
#pragma once

#include "ProfileIni.h"

#include <QString>

#include <functional>

namespace vorn {

class SettingsAccess {
public:
    // Reads the file once to learn whether it reads whole (a missing file does).
    explicit SettingsAccess(const QString &path);

    const QString &path() const { return path_; }
    // Where writes go while the file cannot be replaced.
    QString besidePath() const { return path_ + QStringLiteral(".new"); }
    // False once the file failed to read whole, at the first read or any later one.
    bool readWhole() const { return readWhole_; }
    // Another reader found the file incomplete: from now on it is not replaced either.
    void keepFileAsItIs() { readWhole_ = false; }

    // The settings as they stand: the file, or, while it cannot be replaced, what was
    // written beside it over what could be read of it.
    ProfileIni read() const;
    QString readString(const QString &section, const QString &key, const QString &defaultValue = QString()) const;

    // Changes the settings and saves them at once, keeping every other line. False with a
    // reason (English, for the terminal) when nothing could be saved.
    bool write(const std::function<void(ProfileIni &)> &change, QString *error = nullptr);
    bool writeString(const QString &section, const QString &key, const QString &value, QString *error = nullptr);
    // Whether the last successful write went beside the file.
    bool wroteBeside() const { return wroteBeside_; }

private:
    QString path_;
    bool readWhole_ = true;
    bool wroteBeside_ = false;
};

}  // namespace vorn
