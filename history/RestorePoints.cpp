// Restore points: naming, writing, bounding and listing.
#include "RestorePoints.h"

#include "files/AtomicFile.h"
#include "files/IgnFile.h"
#include "history/HistoryTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace vorn {

namespace {

constexpr std::array<const char *, 6> kWords{"read", "programmed", "before-read", "before-open", "before-new",
                                             "before-model"};
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
constexpr qint64 kMaxPointSize = 1 << 16;

bool isBefore(RestoreEvent e)
{
    return e != RestoreEvent::Read && e != RestoreEvent::Programmed;
}

bool newerFirst(const RestorePoint &a, const RestorePoint &b)
{
    if (a.time != b.time)
        return a.time > b.time;
    return a.suffix > b.suffix;
}

std::map<QString, QString> readIndex(const QString &folder)
{
    std::map<QString, QString> units;
    QFile f(QDir(folder).filePath(kRestoreIndexFileName));
    if (!f.open(QIODevice::ReadOnly) || f.size() > (1 << 22))
        return units;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const int tab = line.indexOf('\t');
        if (tab > 0)
            units[QString::fromUtf8(line.left(tab))] = QString::fromUtf8(line.mid(tab + 1)).trimmed();
    }
    return units;
}

// One line of the index. A unit's free text may hold any character; a line break in it
// would cut its identification short and start a line of its own, so it becomes a space.
QByteArray indexLine(const QString &name, const QString &unit)
{
    QByteArray text = unit.toUtf8();
    text.replace('\r', ' ').replace('\n', ' ');
    return name.toUtf8() + '\t' + text + '\n';
}

// Whether the file's last line has no line end: a line appended to it would join that line.
bool endsInsideLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() == 0 || !f.seek(f.size() - 1))
        return false;
    char last = '\n';
    return f.getChar(&last) && last != '\n';
}

std::vector<RestorePoint> scanFolder(const QString &folder)
{
    std::vector<RestorePoint> points;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.ign")}, QDir::Files);
    for (const QString &name : names)
        if (auto p = parseRestorePointFileName(name))
            points.push_back(*p);
    return points;
}

// The bytes a parameter file holds: two images that agree there read back alike.
bool sameFileBytes(const ParameterImage &a, const ParameterImage &b)
{
    static const auto mask = ParameterFileBytes();
    for (int o = 0; o < kImageSize; ++o)
        if (mask.test(static_cast<std::size_t>(o)) && a[o] != b[o])
            return false;
    return true;
}

}  // namespace

QString restoreEventWord(RestoreEvent event)
{
    return QString::fromLatin1(kWords[static_cast<std::size_t>(event)]);
}

QString restorePointFileName(const QDateTime &localTime, RestoreEvent event, int suffix)
{
    QString name = localTime.toString(kTimeFormat) + QLatin1Char('_') + restoreEventWord(event);
    if (suffix > 1)
        name += QLatin1Char('-') + QString::number(suffix);
    return name + QStringLiteral(".ign");
}

std::optional<RestorePoint> parseRestorePointFileName(const QString &fileName)
{
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)_([a-z-]+?)(?:-(\\d+))?\\.ign$"));
    const auto m = re.match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    const auto word = std::find(kWords.begin(), kWords.end(), m.captured(2).toStdString());
    if (word == kWords.end())
        return std::nullopt;
    RestorePoint p;
    p.fileName = fileName;
    p.time = QDateTime::fromString(m.captured(1), kTimeFormat);
    p.event = static_cast<RestoreEvent>(word - kWords.begin());
    p.suffix = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
    if (!p.time.isValid() || p.suffix < 1 || (!m.captured(3).isEmpty() && p.suffix < 2))
        return std::nullopt;
    return p;
}

RestorePointStore::RestorePointStore(const QString &folder, int limit)
    : folder_(folder), limit_(limit < 1 ? 1 : limit)
{
}

void RestorePointStore::scan()
{
    if (scanned_)
        return;
    scanned_ = true;
    points_ = scanFolder(folder_);
    std::sort(points_.begin(), points_.end(), [](const auto &a, const auto &b) { return newerFirst(b, a); });
    units_ = readIndex(folder_);
    if (!points_.empty()) {
        // Reading a file may settle a byte the image held differently (the file keeps
        // fewer values than a byte can hold), so the file itself is kept as well: an
        // image that would write the very same file is equal to it too.
        QFile f(QDir(folder_).filePath(points_.back().fileName));
        ParameterImage img;
        if (f.open(QIODevice::ReadOnly) && f.size() <= kMaxPointSize) {
            newestFile_ = f.readAll();
            if (ReadParameterFile(newestFile_, img))
                newest_ = img;
            else
                newestFile_.clear();
        }
    }
}

void RestorePointStore::fail(Result &r, Result::Failure failure, const QString &path)
{
    r.failure = failure;
    r.failedPath = path;
    r.error = restorePointError(r, 0);
}

QString restorePointError(const RestorePointStore::Result &result, int language)
{
    using Failure = RestorePointStore::Result::Failure;
    switch (result.failure) {
    case Failure::CreateFolder:
        return text4(htext::PointCannotCreate, language).arg(result.failedPath);
    case Failure::WriteFile:
        return text4(htext::PointCannotWrite, language).arg(result.failedPath);
    case Failure::None:
        break;
    }
    return result.error;
}

bool RestorePointStore::writeIndex(Result &r)
{
    QByteArray text;
    for (const auto &[name, unit] : units_)
        text += indexLine(name, unit);
    if (writeFileAtomically(QDir(folder_).filePath(kRestoreIndexFileName), text))
        return true;
    fail(r, Result::Failure::WriteFile, QDir(folder_).filePath(kRestoreIndexFileName));
    return false;
}

RestorePointStore::Result RestorePointStore::write(const ParameterImage &image, RestoreEvent event,
                                                   const QDateTime &localTime, const QString &unit)
{
    Result r = writePoint(image, event, localTime, unit);
    if (!r.error.isEmpty()) {
        r.reportFailure = !failing_;
        failing_ = true;
    } else if (r.written) {
        failing_ = false;
    }
    return r;
}

RestorePointStore::Result RestorePointStore::writePoint(const ParameterImage &image, RestoreEvent event,
                                                        const QDateTime &localTime, const QString &unit)
{
    Result r;
    if (!QDir().mkpath(folder_)) {
        fail(r, Result::Failure::CreateFolder, folder_);
        return r;
    }
    scan();
    const QByteArray file = WriteParameterFile(image);
    if (isBefore(event) && newest_ && (sameFileBytes(*newest_, image) || file == newestFile_)) {
        r.skipped = true;
        return r;
    }
    const QString stamp = localTime.toString(kTimeFormat);
    int suffix = 1;
    for (const RestorePoint &p : points_)
        if (p.time.toString(kTimeFormat) == stamp)
            suffix = std::max(suffix, p.suffix + 1);
    QString name = restorePointFileName(localTime, event, suffix);
    while (QFileInfo::exists(QDir(folder_).filePath(name)))   // another program run wrote it
        name = restorePointFileName(localTime, event, ++suffix);
    r.path = QDir(folder_).filePath(name);
    if (!writeFileAtomically(r.path, file)) {
        fail(r, Result::Failure::WriteFile, r.path);
        r.path.clear();
        return r;
    }
    RestorePoint p{name, QDateTime::fromString(stamp, kTimeFormat), event, suffix, unit};
    points_.insert(std::upper_bound(points_.begin(), points_.end(), p,
                                    [](const auto &a, const auto &b) { return newerFirst(b, a); }),
                   p);
    if (points_.back().fileName == name) {
        newest_ = image;
        newestFile_ = file;
    }
    r.written = true;

    if (!unit.isEmpty())
        units_[name] = unit;
    bool pruned = false;
    while (static_cast<int>(points_.size()) > limit_) {
        QFile::remove(QDir(folder_).filePath(points_.front().fileName));
        pruned |= units_.erase(points_.front().fileName) > 0;
        points_.erase(points_.begin());
    }
    // The point itself is written; an index that failed only loses identifications. A new
    // line is appended (a torn last line loses only its own); pruning rewrites it whole.
    if (pruned) {
        writeIndex(r);
    } else if (!unit.isEmpty()) {
        QFile index(QDir(folder_).filePath(kRestoreIndexFileName));
        QByteArray line = indexLine(name, unit);
        if (endsInsideLine(index.fileName()))   // a torn or hand-made last line keeps to itself
            line.prepend('\n');
        if (!index.open(QIODevice::Append) || index.write(line) != line.size() || !index.flush())
            fail(r, Result::Failure::WriteFile, index.fileName());
    }
    return r;
}

std::vector<RestorePoint> listRestorePoints(const QString &folder)
{
    std::vector<RestorePoint> points = scanFolder(folder);
    const auto units = readIndex(folder);
    for (RestorePoint &p : points)
        if (const auto it = units.find(p.fileName); it != units.end())
            p.unit = it->second;
    std::sort(points.begin(), points.end(), newerFirst);
    return points;
}

bool loadRestorePoint(const QString &path, ParameterImage &image)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxPointSize)
        return false;
    return ReadParameterFile(f.readAll(), image);
}

}  // namespace vorn
