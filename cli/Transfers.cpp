// read, program and verify: the window's session and file reader and writer, headless.
#include "Commands.h"

#include "CliTexts.h"
#include "Driver.h"
#include "TransferArchive.h"
#include "archive/TransferEvent.h"
#include "files/AtomicFile.h"
#include "files/IgnFile.h"
#include "link/Identification.h"
#include "params/TuneHash.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>

namespace vorn::cli {

namespace {

void complainOrJson(const Invocation &in, QJsonObject json, const QString &line)
{
    if (in.json) {
        json.insert(QStringLiteral("error"), line);
        say(QString::fromUtf8(QJsonDocument(json).toJson()));
    }
    complain(line);
}

QJsonObject unitJson(const ParameterImage &image)
{
    const UnitIdentification id = identificationFromImage(image);
    return QJsonObject{{QStringLiteral("version"), id.version},
                       {QStringLiteral("date"), id.date},
                       {QStringLiteral("time"), id.time},
                       {QStringLiteral("program_version"), image[Off::ProgramVersion]}};
}

const char *outcomeName(Driver::Outcome o)
{
    switch (o) {
    case Driver::Outcome::Ok: return "ok";
    case Driver::Outcome::Failed: return "error";
    case Driver::Outcome::VersionMismatch: return "version";
    case Driver::Outcome::Interrupted: return "interrupted";
    case Driver::Outcome::Disagree: return "disagree";
    }
    return "error";
}

// What the archive keeps as the result of a transfer that did not end " OK": the window's
// message in English, so that every bench of a shared archive reads the same.
Msg archivedError(const Driver::Result &r)
{
    return r.outcome == Driver::Outcome::VersionMismatch                      ? Msg::UnmatchedVersion
           : r.outcome == Driver::Outcome::Disagree || r.message == Msg::Count ? Msg::ReadError
                                                                                : r.message;
}

// Puts the event into the archive before the result is printed (so --json can name it)
// and returns the archive for the sync that follows the printing. An interrupted transfer
// is not recorded: nobody knows what the unit holds.
void archiveEvent(TransferArchive &archive, const TransferEnd &end, QJsonObject &json)
{
    const EventInput event = transferEvent(end);
    if (event.tune)
        json.insert(QStringLiteral("tune"), tuneHash(*event.tune));
    const QString id = archive.record(event);
    if (!id.isEmpty())
        json.insert(QStringLiteral("archive_event"), id);
}

// What a program that failed left in the unit: the unit keeps its identification when
// block 0 is written, so only blocks 1 and 2 change what it holds.
QString unitState(std::uint8_t blocksWritten, QJsonObject &json)
{
    QStringList blocks;
    QJsonArray written;
    for (int b = 1; b < kBlockCount; ++b) {
        if (blocksWritten & (1u << b)) {
            blocks << QString::number(b);
            written.append(b);
        }
    }
    json.insert(QStringLiteral("unit_state"), blocks.isEmpty() ? QStringLiteral("unchanged") : QStringLiteral("partial"));
    json.insert(QStringLiteral("blocks_written"), written);
    return blocks.isEmpty() ? text(T::UnitUnchanged)
                            : countedForm(N::UnitPartial, blocks.size()).arg(blocks.join(QStringLiteral(", ")));
}

// The line and exit status of a transfer that did not end " OK"; a program also says what
// it left in the unit.
int failed(const Invocation &in, QJsonObject json, const Driver &driver, const Driver::Result &r,
           TransferEnd end, std::optional<std::uint8_t> blocksWritten = std::nullopt)
{
    TransferArchive archive(in);
    if (r.outcome != Driver::Outcome::Interrupted) {
        end.error = archivedError(r);
        archiveEvent(archive, end, json);
    }
    json.insert(QStringLiteral("result"), QLatin1String(outcomeName(r.outcome)));
    QString line;
    int status = ExitDiffer;
    switch (r.outcome) {
    case Driver::Outcome::Interrupted:
        line = text(T::Interrupted);
        break;
    case Driver::Outcome::VersionMismatch:
        line = message(Msg::UnmatchedVersion);
        status = ExitUsage;
        break;
    case Driver::Outcome::Disagree:
        line = text(end.kind == EventKind::Program ? T::AnswersDisagreeProgram : T::AnswersDisagreeVerify);
        break;
    default:
        line = message(r.message == Msg::Count ? Msg::ReadError : r.message);
        if (driver.lost())
            line += QStringLiteral(" (") + text(T::DeviceLost) + QLatin1Char(')');
        break;
    }
    const QString state = blocksWritten ? unitState(*blocksWritten, json) : QString();
    complainOrJson(in, json, line);
    if (!state.isEmpty())
        complain(state);
    archive.sync();
    return status;
}

// Opens the port of the invocation; false (after saying why) when it cannot.
bool openPort(const Invocation &in, Driver &driver, QJsonObject &json)
{
    const QString device = resolvePort(in.port);
    json.insert(QStringLiteral("port"), device);
    QString reason;
    if (driver.open(device, &reason))
        return true;
    complainOrJson(in, json, text(T::CannotOpenPort).arg(reason));
    return false;
}

QString verifyOk() { return message(Msg::Verify) + QStringLiteral(" OK"); }

// Program and verify begin alike: the file, then the port, then two reads of the unit that
// agree. The exit status when one of them fails; a program that failed here wrote nothing.
std::optional<int> fileAndUnit(const Invocation &in, QJsonObject &json, Driver &driver, EventKind kind,
                               QByteArray &content)
{
    QString error;
    if (!loadParameterFile(in.files.value(0), content, &error)) {
        complainOrJson(in, json, error);
        return ExitUsage;
    }
    if (!openPort(in, driver, json))
        return ExitUsage;
    const Driver::Result r = driver.readUnitTwice();
    json.insert(QStringLiteral("read_ticks"), r.ticks);
    if (r.outcome == Driver::Outcome::Ok)
        return std::nullopt;
    return failed(in, json, driver, r, {.kind = kind},
                  kind == EventKind::Program ? std::optional<std::uint8_t>(0) : std::nullopt);
}

}  // namespace

int runRead(const Invocation &in)
{
    const QString &path = in.files.value(0);
    QJsonObject json{{QStringLiteral("command"), QStringLiteral("read")}, {QStringLiteral("file"), path}};
    AtomicFileWriter writer(path, AtomicFileWriter::Folder::MustExist);
    // Refuse an unwritable target before the unit is asked for anything.
    if (!writer.open()) {
        complainOrJson(in, json, text(T::CannotWrite).arg(path));
        return ExitUsage;
    }
    ParameterImage image;
    Driver driver(image);
    if (!openPort(in, driver, json))
        return ExitUsage;
    const Driver::Result r = driver.run(Driver::Op::Read);
    json.insert(QStringLiteral("ticks"), r.ticks);
    if (r.outcome != Driver::Outcome::Ok)
        return failed(in, json, driver, r, {.kind = EventKind::Read});
    // The unit was read whatever becomes of the file.
    TransferArchive archive(in);
    archiveEvent(archive, {.kind = EventKind::Read, .image = image}, json);
    if (!writer.commit(WriteParameterFile(image))) {
        complainOrJson(in, json, text(T::CannotWrite).arg(path));
        archive.sync();
        return ExitUsage;
    }
    json.insert(QStringLiteral("result"), QStringLiteral("ok"));
    json.insert(QStringLiteral("unit"), unitJson(image));
    say(in.json ? QString::fromUtf8(QJsonDocument(json).toJson())
                : verifyOk() + QLatin1Char('\n') + text(T::Written).arg(path) + QLatin1Char('\n'));
    archive.sync();
    return ExitOk;
}

int runProgram(const Invocation &in)
{
    const QString &path = in.files.value(0);
    QJsonObject json{{QStringLiteral("command"), QStringLiteral("program")}, {QStringLiteral("file"), path}};
    QByteArray content;
    ParameterImage image;
    Driver driver(image);
    // Start from what the unit holds, so block 0 and the reserved bytes travel unchanged;
    // what goes back into the unit must have come from it the same way twice.
    if (const auto status = fileAndUnit(in, json, driver, EventKind::Program, content))
        return *status;
    // The tune the unit held is the one this file is taken to be made from.
    const ParameterImage held = image;
    ReadParameterFile(content, image);
    std::uint8_t languageIndex = 0, comPort = 1;   // the window's, not touched here
    ClampParameters(image, languageIndex, comPort);
    const Driver::Result r = driver.run(Driver::Op::Program);
    json.insert(QStringLiteral("program_ticks"), r.ticks);
    // Block 0 came from the unit in the reads before.
    const TransferEnd end{.kind = EventKind::Program, .image = image, .unitKnown = true, .madeFrom = held};
    if (r.outcome != Driver::Outcome::Ok)
        return failed(in, json, driver, r, end, driver.blocksWritten());
    TransferArchive archive(in);
    archiveEvent(archive, end, json);
    json.insert(QStringLiteral("result"), QStringLiteral("ok"));
    json.insert(QStringLiteral("unit_state"), QStringLiteral("programmed"));
    json.insert(QStringLiteral("unit"), unitJson(image));
    say(in.json ? QString::fromUtf8(QJsonDocument(json).toJson()) : verifyOk() + QLatin1Char('\n'));
    archive.sync();
    return ExitOk;
}

int runVerify(const Invocation &in)
{
    const QString &path = in.files.value(0);
    QJsonObject json{{QStringLiteral("command"), QStringLiteral("verify")}, {QStringLiteral("file"), path}};
    QByteArray content;
    ParameterImage unit;
    Driver driver(unit);
    // A verdict on what the unit holds rests on two reads that agree.
    if (const auto status = fileAndUnit(in, json, driver, EventKind::Verify, content))
        return *status;

    // The unit as it sent its bytes: the session clamps what it read, and a byte it had to
    // clamp is one the unit does not hold as the file says.
    const ParameterImage received = driver.received();
    ParameterImage clamped = received;
    std::uint8_t languageIndex = 0, comPort = 1;
    ClampParameters(clamped, languageIndex, comPort);
    // What Program would have sent for this file onto this unit.
    ParameterImage wanted = received;
    ReadParameterFile(content, wanted);
    ClampParameters(wanted, languageIndex, comPort);
    const auto differences = imageDifferences(received, wanted, bytesHeldBy(content));
    const bool equal = differences.empty();
    QJsonArray differencesJson = differenceJson(differences, wanted, "unit", "file");
    QStringList lines = differenceLines(differences, wanted);
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const ParameterDifference &d = differences[i];
        QJsonObject one = differencesJson[static_cast<int>(i)].toObject();
        one.insert(QStringLiteral("unit_byte"), d.before);
        one.insert(QStringLiteral("file_byte"), d.after);
        differencesJson[static_cast<int>(i)] = one;
        // A value out of the parameter's range shows clamped; the bytes say what is there.
        if (clamped[d.parameter->offset] != d.before)
            lines[static_cast<int>(i)] += QLatin1Char(' ') + text(T::OutOfRange).arg(d.before).arg(d.after);
    }
    json.insert(QStringLiteral("result"), QStringLiteral("ok"));
    json.insert(QStringLiteral("equal"), equal);
    json.insert(QStringLiteral("differences"), differencesJson);
    json.insert(QStringLiteral("unit"), unitJson(received));
    // The tune the unit was found holding, with the window's verdict on it.
    TransferArchive archive(in);
    archiveEvent(archive,
                 {.kind = EventKind::Verify,
                  .error = equal ? std::nullopt : std::optional(Msg::VerifyError),
                  .image = received,
                  .unitKnown = true,
                  .unitReplied = received},
                 json);
    if (in.json)
        say(QString::fromUtf8(QJsonDocument(json).toJson()));
    else if (equal)
        say(text(T::Equal).arg(path) + QLatin1Char('\n'));
    else
        say(counted(N::Differ, static_cast<long long>(differences.size())).arg(text(T::TheUnit), path) + QLatin1Char('\n')
            + lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    archive.sync();
    return equal ? ExitOk : ExitDiffer;
}

void complain(const QString &line)
{
    std::fprintf(stderr, "vorn4-cli: %s\n", line.toLocal8Bit().constData());
}

void say(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

// Columns padded to their widest cell; `align` holds 'l' or 'r' per column. The last column
// is not padded, so no line ends in blanks.
QString textTable(const QList<QStringList> &rows, const QString &align)
{
    QList<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths << 0;
            widths[c] = std::max(widths[c], static_cast<int>(row[c].size()));
        }
    QString out;
    for (const QStringList &row : rows) {
        QString line = QStringLiteral("  ");
        for (int c = 0; c < row.size(); ++c) {
            const bool last = c + 1 == row.size();
            const bool right = c < align.size() && align[c] == QLatin1Char('r');
            line += right ? row[c].rightJustified(widths[c]) : last ? row[c] : row[c].leftJustified(widths[c]);
            if (!last)
                line += QStringLiteral("  ");
        }
        out += line + QLatin1Char('\n');
    }
    return out;
}

}  // namespace vorn::cli
