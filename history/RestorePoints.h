// Restore points: parameter files the window writes by itself before its image is replaced
// and after the unit confirmed it, named by time and event, the newest 1,000 kept.
#pragma once

#include "params/ParameterImage.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vorn {

enum class RestoreEvent { Read, Programmed, BeforeRead, BeforeOpen, BeforeNew, BeforeModel };

// "read", "programmed", "before-read", "before-open", "before-new", "before-model".
QString restoreEventWord(RestoreEvent event);

// "YYYY-MM-DD_HH-MM-SS_EVENT.ign" in local time; a second point in the same second gets
// "-2" before the extension, a third "-3".
QString restorePointFileName(const QDateTime &localTime, RestoreEvent event, int suffix = 1);

struct RestorePoint {
    QString fileName;
    QDateTime time;
    RestoreEvent event = RestoreEvent::Read;
    int suffix = 1;
    QString unit;   // the unit's identification for read and programmed points
};
std::optional<RestorePoint> parseRestorePointFileName(const QString &fileName);

// The folder of restore points; not thread-safe, one writer at a time (the window's
// worker thread). Reading the list from elsewhere goes through listRestorePoints.
class RestorePointStore {
public:
    static constexpr int kDefaultLimit = 1000;

    explicit RestorePointStore(const QString &folder, int limit = kDefaultLimit);

    struct Result {
        bool written = false;
        bool skipped = false;   // a "before" point equal to the newest point is not written
        QString path;
        // Why nothing (or not everything) was written: what failed and on which path; the
        // words for it come from restorePointError in the language shown.
        enum class Failure { None, CreateFolder, WriteFile };
        Failure failure = Failure::None;
        QString failedPath;
        QString error;          // the same in English, for logs and tests
        // The first failure after a point was written (or since the store was made): the
        // one to tell the user; the failures that follow it are not said again.
        bool reportFailure = false;
    };
    // Writes a point with the Save writer; the oldest beyond the limit are removed.
    Result write(const ParameterImage &image, RestoreEvent event, const QDateTime &localTime,
                 const QString &unit = QString());

    const QString &folder() const { return folder_; }

private:
    Result writePoint(const ParameterImage &image, RestoreEvent event, const QDateTime &localTime,
                      const QString &unit);
    void scan();
    static void fail(Result &r, Result::Failure failure, const QString &path);
    bool writeIndex(Result &r);

    QString folder_;
    int limit_;
    bool scanned_ = false;
    bool failing_ = false;
    std::vector<RestorePoint> points_;   // oldest first
    std::map<QString, QString> units_;   // file name -> identification
    std::optional<ParameterImage> newest_;
    QByteArray newestFile_;   // the newest point's file as it is on disk
};

// The points in a folder, newest first, with the identifications of the index file.
std::vector<RestorePoint> listRestorePoints(const QString &folder);
// Reads a point over `image` (as Open does); false when it is not a readable point.
bool loadRestorePoint(const QString &path, ParameterImage &image);

// The index beside the points: one line per point with an identification, file name and
// identification separated by a tab. Parameter file readers never see it.
inline const QString kRestoreIndexFileName = QStringLiteral("index.txt");

// Why a point was not written, in a language (0 English, 1 German, 2 French, 3 Czech).
QString restorePointError(const RestorePointStore::Result &result, int language);

}  // namespace vorn
