// The tunes kept beside a log, so that every pull in it knows the map that made it.
//
// Files, for a log "ride.csv" (a name without ".csv" keeps its whole name as the base):
//   ride.ign             the tune in the unit when the recording started;
//   ride.tune-N.ign      a tune that replaced it during the recording, in force from the
//                        log time N milliseconds on (the time_s column times 1000), for
//                        example ride.tune-125300.ign from 125.300 s.
// Each is an ordinary *.ign file written by the same writer as File, Save, so it opens
// anywhere a parameter file opens. A tune is named by tuneHash() of the image read back
// from its file.
#pragma once

#include "params/ParameterImage.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorn {

struct LogTune {
    QString path;
    std::int64_t fromMs = 0;   // log time from which it is in force
    ParameterImage image;      // the file read onto an all-zero image
    QString hash;
};

// Where the tune in force from `fromMs` is kept beside `logPath`.
QString tunePathFor(const QString &logPath, std::int64_t fromMs = 0);

// Keeps `image` beside the log as the tune in force from `fromMs` (replacing one of the
// same time). Nothing on failure, with the reason in `error`.
std::optional<LogTune> saveTuneBesideLog(const ParameterImage &image, const QString &logPath,
                                         std::int64_t fromMs = 0, QString *error = nullptr);

// Removes every tune kept beside the log: a new log of that name must not inherit them.
// False when one of them could not be removed.
bool removeTunesBesideLog(const QString &logPath);

// Every readable tune beside the log, by time; files without a key line are left out.
std::vector<LogTune> tunesBesideLog(const QString &logPath);

// The tune in force at log time `ms`: the last one from at or before it; nullptr when none.
const LogTune *tuneAt(const std::vector<LogTune> &tunes, std::int64_t ms);

// The speeds (rpm) of the advance map's columns, which the log's map_column counts.
using MapSpeeds = std::array<int, kMapSize>;
// Those of the tune in force at log time `ms` (the first tune kept when none is yet);
// nothing when the log keeps no tune.
std::optional<MapSpeeds> mapSpeedsBesideLog(const QString &logPath, std::int64_t ms);

}  // namespace vorn
