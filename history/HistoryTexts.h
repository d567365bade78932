// Texts of undo, restore points, change tracking and comparison, in the four languages.
#pragma once

#include "lang/Texts4.h"

namespace vorn::htext {

// Edit menu and File menu items.
extern const Text4 MenuEdit, Undo, UndoStep, Redo, RedoStep, Compare, RestorePoints;
// Names of steps that change several parameters; %1 where an argument follows.
extern const Text4 StepParameters, StepRead, StepNew, StepOpen, StepModel, StepRestore, StepAdvanceAll,
    StepServoAll, StepColumn, StepChange;
// Status-bar parts.
extern const Text4 UnitInSync, UnitChanges, UnitNotCompared, UnitChanged, FileSaved, FileChangesSaved,
    FileChangesOpened, FileNone, PointFailed;
// Restore point events.
extern const Text4 EventRead, EventProgrammed, EventBeforeRead, EventBeforeOpen, EventBeforeNew,
    EventBeforeModel;
// Restore point dialog and comparison view.
extern const Text4 PointsTitle, PointsTime, PointsEvent, PointsUnit, PointsDiffer, PointsShow, PointsRestore,
    PointsClose, PointsNone, CompareTitle, CompareParameter, CompareWindow, CompareOther, CompareNoDiff,
    CompareCopy, CompareMapTitle, CompareWithUnit, CompareWithFile, CompareWithPoint, CompareReading,
    CompareReadFailed, CompareUnitSent, CompareDiffCount, CompareOnlyFileBytes, VerifyOffer,
    VerifyNothingSent, VerifyNotSent, BlockSettings, BlockMap;

}  // namespace vorn::htext
