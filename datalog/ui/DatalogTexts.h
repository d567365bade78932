// The texts of recording, replay and time in cell, in the four languages.
#pragma once

#include "lang/Texts4.h"

namespace vorn::datalogtext {

extern const Text4 StartRecording, StopRecording, ReplayLog, TimeInCell, ResetTimeInCell,
    LoadTimeInCell, LogFolder;
extern const Text4 Rec, Replay;
extern const Text4 LogFilter, AllFilter;
extern const Text4 CannotCreate, WriteFailed, NotALog, NoRows, NoCounts, ReplaceCounts;
// Why a log cannot be read or written.
extern const Text4 ReasonCannotOpen, ReasonEmpty, ReasonNotALog;
extern const Text4 ReasonNoFolder, ReasonNoPermission, ReasonDiskFull, ReasonWriteFailed;
extern const Text4 PanelTitle, Play, Pause, Leave, Speed, Truncated, Capped;
extern const Count4 Skipped;

}  // namespace vorn::datalogtext
