// Runs the real program: it starts, and SIGTERM closes it the normal way (settings saved, exit 0).
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
    QTest::newRow("SIGTERM, German word") << int(SIGTERM) << "DEUTSCH" << "Language=1";
    QTest::newRow("SIGINT, lower-case word ignored") << int(SIGINT) << "deutsch" << "Language=3";
    QTest::newRow("SIGHUP, no word") << int(SIGHUP) << "" << "Language=3";
}

void LifecycleTest::closingSignalsRunTheClosingSequence()
{
    QFETCH(int, signal);
    QFETCH(QString, argument);
    QFETCH(QString, language);

    QTemporaryDir dir;
    // A pseudo-terminal stands in for the serial port so no real device is touched.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(ptsname(master));
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
    QVERIFY(QFile::exists(dir.filePath("_vorn4.ini")));
}

QTEST_GUILESS_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
