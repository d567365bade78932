// The headless session loop.
#include "Driver.h"

#include "CliTexts.h"
#include "link/PortPath.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace vorn::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onSignal(int) { gInterrupted = 1; }

// Runs `step` on every tick of a 55 ms timer until it returns false.
void tickLoop(const std::function<bool()> &step)
{
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kTickMs);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (!step())
            loop.quit();
    });
    timer.start();
    loop.exec();
}

}  // namespace

bool interrupted() { return gInterrupted != 0; }

void installInterruptHandlers()
{
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);   // a closed terminal
    std::signal(SIGXFSZ, SIG_IGN);
}

QString resolvePort(const QString &value)
{
    static const QRegularExpression com(QStringLiteral("^COM(\\d{1,2})$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(value);
    if (m.hasMatch()) {
        const QString device = comDevicePath(m.captured(1).toInt());
        if (!device.isEmpty())
            return device;
    }
    // A relative path names a file here; a bare name like "ttyUSB0" is left to the port,
    // which looks for it in /dev.
    const QFileInfo info(value);
    return info.isRelative() && info.exists() ? info.absoluteFilePath() : value;
}

bool Driver::open(const QString &device, QString *reason)
{
    QString why;
    port_ = SerialLink::open(device, &why);
    if (!port_) {
        if (reason)
            *reason = device + QStringLiteral(": ") + why.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return false;
    }
    // The line reports its loss from its own call stack; the session then simply times out.
    port_->onLost = [this] {
        lost_ = true;
        session_.setPort(nullptr);
    };
    session_.setPort(port_.get());
    showProgress_ = ::isatty(STDERR_FILENO) == 1;
    return true;
}

void Driver::progress(const LinkEvent &e)
{
    if (!showProgress_)
        return;
    QString line;
    if (e.kind == LinkEvent::ShowStatus) {
        status_ = message(e.message);
        if (e.style == LinkEvent::Progress)
            return;   // the gauge at 0 follows at once
        line = status_ + (e.style == LinkEvent::Success ? QStringLiteral(" OK") : QString());
    } else if (e.kind == LinkEvent::SetGauge) {
        // A bar of the blocks of this phase, redrawn in place.
        const int done = std::clamp(e.value, 0, kBlockCount);
        line = status_ + QStringLiteral(" [") + QString(done, QLatin1Char('#'))
               + QString(kBlockCount - done, QLatin1Char('.')) + QLatin1Char(']');
    } else {
        return;
    }
    std::fprintf(stderr, "\r\033[K%s", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

Driver::Result Driver::run(Op op)
{
    Result result;
    const LinkEvents started = op == Op::Read         ? session_.startRead()
                               : op == Op::ReadBlocks ? session_.startReadBlocks()
                               : op == Op::Program    ? session_.startProgram()
                                                      : session_.startVerify();
    bool done = false;
    auto apply = [&](const LinkEvents &events) {
        for (const LinkEvent &e : events) {
            progress(e);
            if (e.kind == LinkEvent::ShowStatus) {
                result.message = e.message;
                if (e.style == LinkEvent::Error || e.style == LinkEvent::Success) {
                    result.outcome = e.style == LinkEvent::Success ? Outcome::Ok : Outcome::Failed;
                    done = true;
                }
            } else if (e.kind == LinkEvent::VersionMismatch) {
                result.message = Msg::UnmatchedVersion;
                result.outcome = Outcome::VersionMismatch;
                done = true;
            }
        }
        // The three blocks alone end idle without a status of their own.
        if (!done && op == Op::ReadBlocks && session_.mode() == ModeIdle) {
            result.outcome = Outcome::Ok;
            done = true;
        }
    };
    apply(started);
    tickLoop([&] {
        if (interrupted()) {
            result.outcome = Outcome::Interrupted;
            return false;
        }
        ++result.ticks;
        apply(session_.tick());
        return !done;
    });
    if (showProgress_)
        std::fputs("\n", stderr);
    return result;
}

Driver::Result Driver::readUnitTwice()
{
    const Result first = run(Op::ReadBlocks);
    if (first.outcome != Outcome::Ok)
        return first;
    const ParameterImage once = session_.receivedImage();
    Result second = run(Op::ReadBlocks);
    second.ticks += first.ticks;
    if (second.outcome == Outcome::Ok && once.bytes != session_.receivedImage().bytes)
        second.outcome = Outcome::Disagree;
    return second;
}

void Driver::monitor(double seconds, const std::function<bool(const Frame &, std::int64_t)> &onFrame)
{
    QElapsedTimer clock;
    clock.start();
    std::int64_t requestMs = 0;
    tickLoop([&] {
        if (interrupted() || (seconds > 0 && clock.elapsed() >= seconds * 1000))
            return false;
        // A tick takes in what came, then may send the next request.
        const std::int64_t now = clock.elapsed();
        for (const LinkEvent &e : session_.tick())
            if (e.kind == LinkEvent::MonitorFrame && !onFrame(e.frame, requestMs))
                return false;
        if (session_.mode() == ModeIdle && session_.tickCounter() == 0)
            requestMs = now;
        return true;
    });
}

}  // namespace vorn::cli
