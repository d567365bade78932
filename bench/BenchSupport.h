// Helpers the benchmark programs share: resident memory, a median timing and a simulated
// unit on COM1.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <QHash>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <functional>
#include <vector>

namespace bench {

inline long residentKbOf(qint64 pid);

inline long residentKb() { return residentKbOf(QCoreApplication::applicationPid()); }

// The median of `rounds` timings of f(round), in microseconds.
inline double medianUs(int rounds, const std::function<void(int)> &f)
{
    std::vector<double> t;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        f(i);
        t.push_back(static_cast<double>(clock.nsecsElapsed()) / 1000.0);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Starts the simulated unit, maps COM1 of a settings file in `dir` to its device and points
// the program's settings folder there. Returns the device path, or an empty text on failure.
inline QString startSimOnCom1(QProcess &sim, const QString &program, const QStringList &options,
                              const QString &dir)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(program, options);
    if (!sim.waitForStarted() || !sim.waitForReadyRead(10000))
        return {};
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QFile ini(dir + QStringLiteral("/vorn4.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return {};
    ini.write(QStringLiteral("[PORTS]\r\nCOM1=%1\r\n[FORM_HLAV]\r\nComPort=1\r\n").arg(device).toLocal8Bit());
    qputenv("VORN4_CONFIG_DIR", dir.toLocal8Bit());
    return device;
}

// Resident memory of another process (the simulated unit), in kB; -1 when gone.
inline long residentKbOf(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// The simulated unit of a soak: started with --dump and --link in a folder of the soak's,
// asked for its memory (SIGUSR1) and told to give a clean line or its faults back (SIGUSR2).
// Each answer comes as a new FILE.state line, so a reply is never taken from before the ask.
class SoakSim {
public:
    // Starts the simulator; the device is reached at link(), which stays the same when the
    // line hangs up and comes back. False when it did not start.
    bool start(const QString &program, const QStringList &faults, const QString &dir)
    {
        dump_ = dir + QStringLiteral("/unit.mem");
        link_ = dir + QStringLiteral("/ttyVORN4");
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, QStringList{"--dump", dump_, "--link", link_} + faults);
        return process_.waitForStarted() && process_.waitForReadyRead(10000);
    }
    void stop()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    const QString &link() const { return link_; }
    qint64 pid() const { return process_.processId(); }
    long residentKb() const { return residentKbOf(process_.processId()); }

    // The unit's 300 bytes as of now; empty when the simulator did not answer.
    QByteArray memory() { return ask(SIGUSR1) ? readAll(dump_) : QByteArray(); }

    // Switches the line faults; true when the simulator says they are as asked.
    bool setLineFaults(bool on)
    {
        if (lineFaults_ == on)
            return true;
        if (!ask(SIGUSR2))
            return false;
        lineFaults_ = state_.value("line_faults") == "on";
        return lineFaults_ == on;
    }

    // The last state line's counts ("dropped", "silenced", "hangups", ...), and the line.
    int count(const char *name) const { return state_.value(name).toInt(); }
    const QByteArray &stateLine() const { return stateLine_; }

private:
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool ask(int signal)
    {
        const QString statePath = dump_ + QStringLiteral(".state");
        QFile::remove(statePath);
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        for (int waited = 0; waited < 5000; waited += 2) {
            const QByteArray line = readAll(statePath).trimmed();
            if (!line.isEmpty()) {
                const QList<QByteArray> words = line.split(' ');
                state_.clear();
                stateLine_ = line;
                for (int i = 0; i + 1 < words.size(); i += 2)
                    state_.insert(words[i], words[i + 1]);
                return true;
            }
            QThread::msleep(2);
        }
        return false;
    }

    QProcess process_;
    QString dump_, link_;
    bool lineFaults_ = true;
    QHash<QByteArray, QByteArray> state_;
    QByteArray stateLine_;
};

}  // namespace bench
