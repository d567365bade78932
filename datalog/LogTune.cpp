// Tunes beside a log.
#include "LogTune.h"

#include "files/AtomicFile.h"
#include "files/IgnFile.h"
#include "params/TuneHash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace vorn {

namespace {

constexpr qint64 kMaxTuneFileSize = 1 << 20;   // a *.ign is about 1.5 kB

QString baseOf(const QFileInfo &log)
{
    return log.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0 ? log.completeBaseName()
                                                                                : log.fileName();
}

// The tune files beside a log with their times, as named; unordered.
std::vector<std::pair<QString, std::int64_t>> tuneFiles(const QString &logPath)
{
    const QFileInfo log(logPath);
    const QString base = baseOf(log);
    std::vector<std::pair<QString, std::int64_t>> out;
    const QDir dir = log.dir();
    if (dir.exists(base + QStringLiteral(".ign")))
        out.emplace_back(dir.filePath(base + QStringLiteral(".ign")), 0);
    const QRegularExpression later(QStringLiteral("^%1\\.tune-(\\d{1,15})\\.ign$").arg(QRegularExpression::escape(base)));
    for (const QString &name : dir.entryList({base + QStringLiteral(".tune-*.ign")}, QDir::Files)) {
        const QRegularExpressionMatch m = later.match(name);
        if (m.hasMatch())
            out.emplace_back(dir.filePath(name), m.captured(1).toLongLong());
    }
    return out;
}

}  // namespace

QString tunePathFor(const QString &logPath, std::int64_t fromMs)
{
    const QFileInfo log(logPath);
    const QString base = baseOf(log);
    return log.dir().filePath(fromMs <= 0 ? base + QStringLiteral(".ign")
                                          : QStringLiteral("%1.tune-%2.ign").arg(base).arg(fromMs));
}

std::optional<LogTune> saveTuneBesideLog(const ParameterImage &image, const QString &logPath, std::int64_t fromMs,
                                         QString *error)
{
    LogTune tune;
    tune.path = tunePathFor(logPath, fromMs);
    tune.fromMs = std::max<std::int64_t>(0, fromMs);
    const QByteArray content = WriteParameterFile(image);
    AtomicFileWriter writer(tune.path, AtomicFileWriter::Folder::MustExist);
    if (!writer.open() || !writer.commit(content)) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(tune.path);
        return std::nullopt;
    }
    ReadParameterFile(content, tune.image);
    tune.hash = tuneHash(tune.image);
    return tune;
}

bool removeTunesBesideLog(const QString &logPath)
{
    bool ok = true;
    for (const auto &[path, from] : tuneFiles(logPath))
        ok = QFile::remove(path) && ok;
    return ok;
}

std::vector<LogTune> tunesBesideLog(const QString &logPath)
{
    std::vector<LogTune> tunes;
    for (const auto &[path, from] : tuneFiles(logPath)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        LogTune tune;
        tune.path = path;
        tune.fromMs = from;
        if (!ReadParameterFile(file.read(kMaxTuneFileSize), tune.image))
            continue;
        tune.hash = tuneHash(tune.image);
        tunes.push_back(std::move(tune));
    }
    std::sort(tunes.begin(), tunes.end(), [](const LogTune &a, const LogTune &b) { return a.fromMs < b.fromMs; });
    return tunes;
}

const LogTune *tuneAt(const std::vector<LogTune> &tunes, std::int64_t ms)
{
    const LogTune *found = nullptr;
    for (const LogTune &t : tunes)
        if (t.fromMs <= ms)
            found = &t;
    return found;
}

std::optional<MapSpeeds> mapSpeedsBesideLog(const QString &logPath, std::int64_t ms)
{
    const std::vector<LogTune> tunes = tunesBesideLog(logPath);
    if (tunes.empty())
        return std::nullopt;
    const LogTune *tune = tuneAt(tunes, ms);
    const ParameterImage &image = (tune ? *tune : tunes.front()).image;
    MapSpeeds speeds{};
    for (int k = 0; k < kMapSize; ++k)
        speeds[static_cast<std::size_t>(k)] = physicalFromByte(Encoding::Rpm100, image[Off::RpmAdv + k]);
    return speeds;
}

}  // namespace vorn
