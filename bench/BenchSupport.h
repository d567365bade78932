// Helpers the benchmark programs share: resident memory, a median timing and a simulated
// unit on COM1.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline long residentKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

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

}  // namespace bench
