#include "ArchiveConfig.h"

#include "ArchiveTexts.h"
#include "files/ConfigDir.h"
#include "files/ProfileIni.h"

#include <QSysInfo>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

namespace vorn {

namespace {

QString loginName()
{
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user;
    const passwd *pw = ::getpwuid(::getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QStringLiteral("?");
}

}  // namespace

bool looksLikeServerUrl(const QString &text)
{
    return text.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive)
           || text.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

QString ServerAddress::text() const
{
    QString host = this->host;
    if (host.startsWith(QLatin1Char('/')))
        host = QString::fromLatin1(QUrl::toPercentEncoding(host));
    // One arg() call: a socket folder's "%2F" must not be taken for a place holder.
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host, QString::number(port), database);
}

std::optional<ServerAddress> parseServerUrl(const QString &url, QString *error)
{
    auto fail = [&](ArchiveText t) {
        if (error)
            *error = archiveText(t).arg(url);
        return std::nullopt;
    };
    if (!looksLikeServerUrl(url))
        return fail(ArchiveText::BadServerUrl);
    // scheme://[user@]host[:port]/database[?options]; parts percent-encoded, so that a socket
    // folder can stand for the host as the server's own tools write it.
    const QString rest = url.section(QStringLiteral("://"), 1).section(QLatin1Char('?'), 0, 0);
    const QString authority = rest.section(QLatin1Char('/'), 0, 0);
    const QString database = rest.section(QLatin1Char('/'), 1);
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    const QString userInfo = at >= 0 ? authority.left(at) : QString();
    QString hostPort = authority.mid(at + 1);
    if (userInfo.contains(QLatin1Char(':')))
        return fail(ArchiveText::PasswordInUrl);
    auto decode = [](const QString &s) { return QUrl::fromPercentEncoding(s.toUtf8()); };
    ServerAddress a;
    QString port;
    if (hostPort.startsWith(QLatin1Char('['))) {   // [IPv6 address]
        const int close = hostPort.indexOf(QLatin1Char(']'));
        a.host = hostPort.mid(1, close - 1);
        port = close > 0 ? hostPort.mid(close + 1) : QStringLiteral("?");
        if (port.startsWith(QLatin1Char(':')))
            port.remove(0, 1);
    } else {
        a.host = decode(hostPort.section(QLatin1Char(':'), 0, 0));
        port = hostPort.section(QLatin1Char(':'), 1);
    }
    if (!port.isEmpty()) {
        bool ok = false;
        a.port = port.toInt(&ok);
        if (!ok || a.port <= 0 || a.port > 65535)
            return fail(ArchiveText::BadServerUrl);
    }
    a.user = decode(userInfo);
    a.database = decode(database);
    if (a.host.isEmpty() || a.database.isEmpty() || database.contains(QLatin1Char('/')))
        return fail(ArchiveText::BadServerUrl);
    if (a.user.isEmpty())
        a.user = loginName();
    return a;
}

std::optional<ArchiveConfig> archiveConfig(const QString &option, QString *error)
{
    const ProfileIni settings(configPath(kSettingsFileName));
    ArchiveConfig c;
    c.localPath = configPath(kArchiveFileName);
    const QString where = option.isEmpty() ? settings.readString(kArchiveSection, QStringLiteral("Server")) : option;
    if (looksLikeServerUrl(where)) {
        c.server = parseServerUrl(where, error);
        if (!c.server)
            return std::nullopt;
    } else if (!option.isEmpty()) {
        c.localPath = option;
    } else if (!where.isEmpty()) {
        parseServerUrl(where, error);   // not a server URL: says why
        return std::nullopt;
    }
    c.identity.bench = settings.readString(kArchiveSection, QStringLiteral("Bench"));
    if (c.identity.bench.isEmpty())
        c.identity.bench = QSysInfo::machineHostName();
    c.identity.user = settings.readString(kArchiveSection, QStringLiteral("User"));
    if (c.identity.user.isEmpty())
        c.identity.user = loginName();
    return c;
}

}  // namespace vorn
