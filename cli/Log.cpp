// log: the idle window's monitor polling, one datalog row per valid reply.
#include "Commands.h"

#include "CliTexts.h"
#include "Driver.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "files/IgnFile.h"
#include "link/Tune.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn::cli {

int runLog(const Invocation &in)
{
    const QString path = in.files.value(0);
    std::optional<ParameterImage> map;
    if (!in.map.isEmpty()) {
        QFile file(in.map);
        if (!file.open(QIODevice::ReadOnly)) {
            complain(text(T::CannotRead).arg(in.map, file.errorString()));
            return ExitUsage;
        }
        map.emplace();
        if (!ReadParameterFile(file.readAll(), *map)) {
            complain(text(T::NoKeyLine).arg(in.map, message(Msg::UnmatchedIgnFile)));
            return ExitUsage;
        }
    }

    // Rows go into a temporary file beside the target, which replaces it only when the log
    // ends; an earlier log of that name stays whole until then.
    const QFileInfo target(path);
    QString temporary;
    {
        QTemporaryFile probe(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
        probe.setAutoRemove(false);
        if (!target.absoluteDir().exists() || !probe.open()) {
            complain(text(T::CannotWrite).arg(path));
            return ExitUsage;
        }
        temporary = probe.fileName();
        // A log is an ordinary file of its user, not the private one a temporary file is.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(probe.handle(), 0666 & ~mask);
    }
    LogWriter writer;
    if (!writer.open(temporary)) {
        QFile::remove(temporary);
        complain(text(T::CannotWrite).arg(path));
        return ExitUsage;
    }

    ParameterImage unused;
    Driver driver(unused);
    QString reason;
    if (!driver.open(resolvePort(in.port), &reason)) {
        writer.close();
        QFile::remove(temporary);
        complain(text(T::CannotOpenPort).arg(reason));
        return ExitUsage;
    }
    const bool tty = ::isatty(STDERR_FILENO) == 1;
    driver.monitor(in.seconds, [&](const Frame &frame, std::int64_t requestMs) {
        const MonitorFields fields = parseMonitorFrame(frame);
        std::optional<LiveCell> cell;
        if (map) {
            // The same live values and search as the window's highlight.
            LiveValues live;
            live.speed = fields.rpm;
            live.tpsPercent = fields.tpsPercent;
            live.tpsMv = static_cast<std::uint16_t>(countsToMv(fields.tpsRaw));
            cell = findActiveCell(*map, live, map->tpsMap() != 0);
        }
        // The first row that cannot be written ends the log: polling on would only lose
        // more of the ride without a word.
        if (!writer.append(logRowFrom(fields, cell, requestMs)))
            return false;
        if (tty) {
            std::fprintf(stderr, "\r\033[K%d  %d rpm  %d %%", writer.rowsWritten(), fields.rpm, fields.tpsPercent);
            std::fflush(stderr);
        }
        return true;
    });
    if (tty)
        std::fputs("\n", stderr);
    const bool failedWrite = writer.failed();
    const QString why = writer.errorString();
    const int rows = writer.rowsWritten();
    writer.close();
    {
        QFile done(temporary);
        if (done.open(QIODevice::ReadWrite))
            ::fsync(done.handle());
    }
    // Every row written so far is the ride; it takes the target's name even after a write
    // error, which the rows before it did not meet.
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        complain(text(T::CannotWrite).arg(path));
        return ExitUsage;
    }
    // A new log of this name must not inherit the tunes of the one it replaced.
    removeTunesBesideLog(path);
    QString tuneError;
    if (map && !saveTuneBesideLog(*map, path, 0, &tuneError))
        complain(text(T::CannotWrite).arg(tunePathFor(path, 0)));
    if (failedWrite) {
        complain(counted(N::LogWriteFailed, rows).arg(path, why));
        return ExitDiffer;
    }
    if (rows == 0) {
        complain(text(T::NoReplies));
        return ExitDiffer;
    }
    say(counted(N::LogDone, rows).arg(path) + QLatin1Char('\n'));
    return ExitOk;
}

}  // namespace vorn::cli
