// Runs vorn4-cli as a user's shell would, in `dir` with the settings folder dir/config and a
// UTF-8 locale, and gives back its exit status and output. For the end-to-end tests.
#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>

namespace clirun {

constexpr int kLongMs = 60000;   // generous: the machine may be busy

struct Run {
    int exit = -1;   // -1: did not end by itself in time
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

// `fileSizeLimit` (bytes, 0: none) is the command's RLIMIT_FSIZE; `hangUpAfterMs` (0: never)
// sends it SIGHUP that long after it started, as a closed terminal does.
inline Run runCli(const QStringList &args, const QString &dir, rlim_t fileSizeLimit = 0, int hangUpAfterMs = 0)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORN4_CONFIG_DIR", dir + "/config");
    env.insert("LANG", "C.UTF-8");
    p.setProcessEnvironment(env);
    if (fileSizeLimit > 0)
        p.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    p.start(VORN4_CLI_EXE, args);
    Run r;
    if (hangUpAfterMs > 0 && p.waitForStarted(kLongMs) && !p.waitForFinished(hangUpAfterMs))
        ::kill(static_cast<pid_t>(p.processId()), SIGHUP);
    if (!p.waitForFinished(kLongMs) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exit = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace clirun
