// Where the archive lives and who writes to it: the bench's own SQLite file, the shared
// server when one is set, the bench name and the user.
#pragma once

#include "ArchiveRecords.h"

#include <QString>

#include <optional>

namespace vorn {

inline const QString kArchiveFileName = QStringLiteral("archive.sqlite");
inline const QString kArchiveSection = QStringLiteral("ARCHIVE");

// A PostgreSQL database named by postgresql://user@host[:port]/database. A password is
// never taken from here: the server's client library looks in ~/.pgpass and PGPASSWORD.
struct ServerAddress {
    QString host;        // a name, an address, or a socket folder (starting with '/')
    int port = 5432;
    QString user;
    QString database;
    QString text() const;   // the address as written, without any password
    bool operator==(const ServerAddress &) const = default;
};

// The address of a URL, or nothing with the reason. A password in the URL is refused, so that
// none is ever kept in a settings file or a command line.
std::optional<ServerAddress> parseServerUrl(const QString &url, QString *error);
bool looksLikeServerUrl(const QString &text);

struct ArchiveConfig {
    QString localPath;                      // the bench's own SQLite file
    std::optional<ServerAddress> server;    // the shared server, when set
    ArchiveIdentity identity;
};

// The archive of this bench: `option` (a server URL or an SQLite file) when given, else
// [ARCHIVE] Server of the settings file, else only archive.sqlite in the settings folder.
// With a server the bench's journal is archive.sqlite in the settings folder. Bench and user
// come from [ARCHIVE] Bench and User, else the host name and the login name. Nothing when
// the server URL cannot be used, with the reason.
std::optional<ArchiveConfig> archiveConfig(const QString &option, QString *error);

}  // namespace vorn
