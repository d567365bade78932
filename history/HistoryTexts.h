// Texts of undo, restore points, change tracking and comparison, in the four languages.
#pragma once

#include "lang/Texts4.h"

namespace vorn::htext {

// Edit menu and File menu items.
extern const Text4 MenuEdit, Undo, UndoStep, Redo, RedoStep, Compare, RestorePoints;
// Names of steps that change several parameters; %1 where an argument follows.
extern const Count4 StepParameters;
extern const Text4 StepRead, StepNew, StepOpen, StepModel, StepRestore, StepAdvanceAll,
    StepServoAll, StepColumn, StepChange;
// Status-bar parts.
extern const Count4 UnitChanges, FileChangesSaved, FileChangesOpened;
extern const Text4 UnitInSync, UnitNotCompared, UnitChanged, UnitPartial, FileSaved, FileNone, PointFailed, PointFailedShort,
    PointCannotCreate, PointCannotWrite;
// Restore point events.
extern const Text4 EventRead, EventProgrammed, EventBeforeRead, EventBeforeOpen, EventBeforeNew,
    EventBeforeModel;
// Restore point dialog and comparison view.
extern const Text4 PointsTitle, PointsTime, PointsEvent, PointsUnit, PointsDiffer, PointsShow, PointsRestore,
    PointsClose, PointsNone, CompareTitle, CompareParameter, CompareWindow, CompareOther, CompareNoDiff,
    CompareCopy, CompareMapTitle, CompareWithUnit, CompareWithFile, CompareWithPoint, CompareReading,
    CompareReadFailed, CompareReplaying, CompareUnitSent, CompareOnlyFileBytes, VerifyOffer, VerifyOfferShort,
    VerifyNothingSent, VerifyNotSent, BlockSettings, BlockMap;
extern const Count4 CompareDiffCount;

}  // namespace vorn::htext
