// Texts of the archive's menu item, window and undo step, in the four languages. The
// sentences about a tune (as programmed ..., changed on ...) are the archive's own.
#pragma once

#include "lang/Texts4.h"

namespace vorn::atext {

extern const Text4 MenuArchive, WindowTitle, Search, Find, Events, Tree, MadeFrom, MadeInto, Open, Compare,
    SaveLabels, Close, Customer, Bike, Registration, Note, ColumnTime, ColumnEvent, ColumnResult, ColumnBench,
    ColumnUser, ColumnUnit, ColumnTune, ColumnLabels, StepOpen, TuneOnly, NothingFound, Searching, NoTune,
    CompareTwo, Labels, TuneEvents;

}  // namespace vorn::atext
