// The texts of recording, replay and time in cell, in the four languages.
#pragma once

#include "lang/Texts4.h"

namespace vorn::datalogtext {

extern const Text4 MenuLog, StartRecording, StopRecording, ReplayLog, TimeInCell, ResetTimeInCell,
    LoadTimeInCell, LogFolder;
extern const Text4 Rec, Replay;
extern const Text4 LogFilter, AllFilter;
extern const Text4 CannotCreate, WriteFailed, NotALog, NoRows, NoCounts;
extern const Text4 PanelTitle, Play, Pause, Leave, Speed, Skipped, Truncated;

}  // namespace vorn::datalogtext
