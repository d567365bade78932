// finder run: the variants programmed into the unit between pulls, each ridden and logged,
// the base programmed back, and the pulls analysed.
#include "Finder.h"

#include "CliTexts.h"
#include "Driver.h"
#include "TransferArchive.h"
#include "datalog/LogFormat.h"
#include "datalog/LogTune.h"
#include "files/ConfigDir.h"
#include "files/IgnFile.h"
#include "history/RestorePoints.h"
#include "link/Identification.h"
#include "link/Tune.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>

namespace vorn::cli {

namespace {

using namespace finder;

// One Program the way program does it: the unit read twice, the base file laid over what
// it holds, the row of `target` put in, programmed; then the archive's event and a restore
// point, as after any Program. False after saying why.
bool programRow(Driver &driver, ParameterImage &image, const QByteArray &baseContent, const ParameterImage &target,
                int row, TransferArchive &archive, RestorePointStore &points)
{
    const Driver::Result read = driver.readUnitTwice();
    if (read.outcome != Driver::Outcome::Ok) {
        complain(text(T::FinderProgramFailed).arg(message(read.message == Msg::Count ? Msg::ReadError : read.message)));
        return false;
    }
    const ParameterImage held = image;
    ReadParameterFile(baseContent, image);
    for (int c = 0; c < kMapSize; ++c)
        image.advance(row, c) = target[Off::Advance + 10 * row + c];
    std::uint8_t languageIndex = 0, comPort = 1;
    ClampParameters(image, languageIndex, comPort);
    const Driver::Result r = driver.run(Driver::Op::Program);
    EventInput event{.kind = EventKind::Program, .unit = unitTextsFromImage(image), .tune = image, .parent = held};
    if (r.outcome != Driver::Outcome::Ok) {
        if (r.outcome != Driver::Outcome::Interrupted) {
            event.result = messageText(r.message == Msg::Count ? Msg::ReadError : r.message, 0);
            archive.record(event);
        }
        complain(text(T::FinderProgramFailed).arg(message(r.message == Msg::Count ? Msg::ReadError : r.message)));
        return false;
    }
    archive.record(event);
    const UnitIdentification id = identificationFromImage(image);
    points.write(image, RestoreEvent::Programmed, QDateTime::currentDateTime(),
                 QStringList{id.version, id.date.trimmed(), id.time}.join(QLatin1Char(' ')).trimmed());
    return true;
}

QString status(const Run &run)
{
    if (run.programmingBase())
        return text(T::FinderRestoring);
    if (run.phase() == Run::Phase::Recording)
        return text(T::FinderRiding)
            .arg(run.round())
            .arg(run.rounds())
            .arg(run.variant())
            .arg(run.variantCount())
            .arg(std::min(run.pull() + 1, run.pullsPerVariant()))
            .arg(run.pullsPerVariant());
    return text(T::FinderWaiting).arg(run.round()).arg(run.rounds()).arg(run.variant()).arg(run.variantCount());
}

}  // namespace

int runFinderRun(const Invocation &in, const FinderSetup &setup)
{
    ParameterImage base;
    QByteArray baseContent;
    if (!readImage(in.files.value(1), base, &baseContent))
        return ExitUsage;
    const QDir folder(in.files.value(2));
    if (!QDir().mkpath(folder.path())) {
        complain(text(T::CannotWrite).arg(folder.path()));
        return ExitUsage;
    }
    RunSettings settings;
    settings.plan.row = setup.row;
    settings.plan.stepDeg = in.stepDeg;
    settings.plan.variants = in.variants;
    settings.plan.ceiling = setup.ceiling;
    settings.pullsPerVariant = in.pullsPerVariant;
    settings.rounds = in.rounds;
    Run run(base, settings);

    ParameterImage image;
    Driver driver(image);
    QString reason;
    if (!driver.open(resolvePort(in.port), &reason)) {
        complain(text(T::CannotOpenPort).arg(reason));
        return ExitUsage;
    }
    TransferArchive archive(in);
    RestorePointStore points(configPath(QStringLiteral("history")));
    LogWriter writer;
    QElapsedTimer clock;
    clock.start();
    QString said;
    while (run.phase() != Run::Phase::Done && run.phase() != Run::Phase::Failed && !interrupted() && !driver.lost()) {
        bool programNow = false;
        const std::int64_t since = clock.elapsed();
        driver.monitor(0, [&](const Frame &frame, std::int64_t requestMs) {
            const MonitorFields fields = parseMonitorFrame(frame);
            // The cell as the window's highlight finds it, in the map the unit holds.
            LiveValues live;
            live.speed = fields.rpm;
            live.tpsPercent = fields.tpsPercent;
            live.tpsMv = static_cast<std::uint16_t>(countsToMv(fields.tpsRaw));
            const ParameterImage &unit = run.unitImage();
            const LogRow row = logRowFrom(fields, findActiveCell(unit, live, unit[Off::TpsMap] != 0), since + requestMs);
            const std::size_t before = run.logs().empty() ? 0 : run.logs().back().log.rows.size();
            const bool recording = run.phase() == Run::Phase::Recording;
            programNow = run.feed(row) == Run::Action::Program;
            if (recording && run.logs().back().log.rows.size() > before && writer.isOpen())
                writer.append(row);
            if (const QString now = status(run); now != said) {
                complain(now);
                said = now;
            }
            return !programNow && run.phase() != Run::Phase::Done;
        });
        if (!programNow)
            continue;
        writer.close();
        const bool ok = programRow(driver, image, baseContent, run.imageToProgram(), setup.row, archive, points);
        run.programmed(ok);
        if (ok && run.phase() == Run::Phase::Recording) {
            const Run::VariantLog &log = run.logs().back();
            const QString path = folder.filePath(QStringLiteral("round%1-variant%2.csv").arg(log.round).arg(log.variant));
            removeTunesBesideLog(path);
            if (!writer.open(path) || !saveTuneBesideLog(image, path))
                complain(text(T::CannotWrite).arg(path));
        }
    }
    writer.close();
    archive.sync();
    if (run.phase() != Run::Phase::Done) {
        if (!run.baseRestored())
            complain(text(T::FinderInterrupted).arg(in.files.value(1)));
        return ExitDiffer;
    }
    return reportAnalysis(in, run.analysis(), base, folder.filePath(QStringLiteral("proposal.ign")));
}

}  // namespace vorn::cli
