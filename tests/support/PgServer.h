// A real PostgreSQL 15 server of the test's own, in a temporary folder, reachable only
// through a socket in that folder; stopped when the object goes, also after a failed check.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <unistd.h>

namespace vorn::test {

class PgServer {
public:
    static constexpr int kPort = 54329;   // only names the socket file in our own folder

    PgServer()
    {
        dir_.setAutoRemove(true);
        // The server refuses to run as root; the postgres account must reach its folders.
        QFile::setPermissions(dir_.path(), QFile::permissions(dir_.path()) | QFile::ReadOther | QFile::ExeOther
                                               | QFile::ReadGroup | QFile::ExeGroup);
        QDir(dir_.path()).mkpath(QStringLiteral("sock"));
        if (::geteuid() == 0)
            QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres"), dir_.path(), socketDir()});
        ready_ = run(QStringLiteral("initdb"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), QStringLiteral("archive"),
                                                QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                                                QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--no-sync")})
                 && start();
    }
    ~PgServer() { stop(); }
    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;

    bool ready() const { return ready_; }
    const QString &log() const { return output_; }

    bool start()
    {
        running_ = run(QStringLiteral("pg_ctl"),
                       {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"), dir_.filePath(QStringLiteral("server.log")),
                        QStringLiteral("-w"), QStringLiteral("-o"),
                        QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off").arg(socketDir()).arg(kPort),
                        QStringLiteral("start")});
        return running_;
    }
    bool stop()
    {
        if (!running_)
            return true;
        running_ = !run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                                   QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
        return !running_;
    }

    bool createDatabase(const QString &name)
    {
        return run(QStringLiteral("createdb"), {QStringLiteral("-h"), socketDir(), QStringLiteral("-p"),
                                                QString::number(kPort), QStringLiteral("-U"), QStringLiteral("archive"), name});
    }
    // The address vorn4 is given, the socket folder standing for the host.
    QString url(const QString &database) const
    {
        return QStringLiteral("postgresql://archive@%1:%2/%3")
            .arg(QString::fromLatin1(QUrl::toPercentEncoding(socketDir())), QString::number(kPort), database);
    }
    QString socketDir() const { return dir_.filePath(QStringLiteral("sock")); }

private:
    QString dataDir() const { return dir_.filePath(QStringLiteral("data")); }

    bool run(const QString &tool, const QStringList &args)
    {
        QProcess p;
        const QString exe = QStringLiteral("/usr/lib/postgresql/15/bin/") + tool;
        if (::geteuid() == 0)
            p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), exe} + args);
        else
            p.start(exe, args);
        const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        output_ += QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        return ok;
    }

    QTemporaryDir dir_;
    QString output_;
    bool ready_ = false;
    bool running_ = false;
};

}  // namespace vorn::test
