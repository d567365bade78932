// Runs the real program: a closing signal closes it the normal way (settings and dump saved,
// exit 0), also while the box about a port that failed to open waits for an answer.
#include "files/ImageDump.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// True once the process has installed a handler for the signal (its SigCgt mask says so).
bool catchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (1ULL << (signal - 1)));
        }
    return false;
}

}  // namespace

class LifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void closingSignalsRunTheClosingSequence_data();
    void closingSignalsRunTheClosingSequence();
};

void LifecycleTest::closingSignalsRunTheClosingSequence_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("portMissing");   // start-up then waits in the "Com opening error" box
    QTest::newRow("SIGTERM, German word") << int(SIGTERM) << "DEUTSCH" << "Language=1" << false;
    QTest::newRow("SIGINT, lower-case word ignored") << int(SIGINT) << "deutsch" << "Language=3" << false;
    QTest::newRow("SIGHUP, no word") << int(SIGHUP) << "" << "Language=3" << false;
    QTest::newRow("SIGTERM, port box open") << int(SIGTERM) << "DEUTSCH" << "Language=1" << true;
    QTest::newRow("SIGINT, port box open") << int(SIGINT) << "" << "Language=3" << true;
    QTest::newRow("SIGHUP, port box open") << int(SIGHUP) << "" << "Language=3" << true;
}

void LifecycleTest::closingSignalsRunTheClosingSequence()
{
    QFETCH(int, signal);
    QFETCH(QString, argument);
    QFETCH(QString, language);
    QFETCH(bool, portMissing);

    QTemporaryDir dir;
    // A pseudo-terminal stands in for the serial port so no real device is touched.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString slave = portMissing ? dir.filePath("no-such-device") : QString::fromLocal8Bit(ptsname(master));
    QFile ini(dir.filePath("vorn4.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[PORTS]\r\nCOM1=%1\r\n[FORM_HLAV]\r\nLanguage=3\r\nComPort=1\r\n").arg(slave).toLocal8Bit());
    ini.close();

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORN4_CONFIG_DIR", dir.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(VORN4_EXE, argument.isEmpty() ? QStringList{} : QStringList{argument});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), signal), 20000);
    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    ::close(master);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString saved = QString::fromLocal8Bit(ini.readAll());
    QVERIFY2(saved.contains("[FORM_HLAV]"), qPrintable(saved));
    QVERIFY2(saved.contains(language), qPrintable(saved));
    QVERIFY2(saved.contains("COM1=" + slave), qPrintable(saved));   // foreign keys survive
    QFile dump(dir.filePath("_vorn4.ini"));
    QVERIFY(dump.open(QIODevice::ReadOnly));
    vorn::ParameterImage image;
    QCOMPARE(vorn::ReadImageDump(dump.readAll(), image), 300);   // every byte of the image
}

QTEST_GUILESS_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
