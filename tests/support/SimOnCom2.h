// Starts the simulated unit for a window test and makes it the window's COM2.
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// Starts vorn4-sim with `args`, waits for the device line it prints, and writes a fresh
// vorn4.ini into `configDir` that names that device as COM2 and selects COM2. Returns the
// device path, empty when the simulator did not start or the file could not be written.
inline QString startSimOnCom2(QProcess &sim, const QStringList &args, const QString &configDir, int timeoutMs)
{
    sim.start(QStringLiteral(VORN4_SIM_EXE), args);
    if (!sim.waitForStarted(timeoutMs))
        return {};
    while (!sim.canReadLine())
        if (!sim.waitForReadyRead(timeoutMs))
            return {};
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QFile ini(configDir + QStringLiteral("/vorn4.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return {};
    const QByteArray text =
        QStringLiteral("[PORTS]\r\nCOM2=%1\r\n[FORM_HLAV]\r\nComPort=2\r\n").arg(device).toLocal8Bit();
    return ini.write(text) == text.size() ? device : QString();
}
