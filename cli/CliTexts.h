// The texts of vorn4-cli in four languages, and the language it speaks.
#pragma once

#include "lang/Jazyk2.h"

#include <QString>

namespace vorn::cli {

enum class T {
    Usage,            // first line of the help
    HelpPorts, HelpRead, HelpProgram, HelpVerify, HelpShow, HelpDiff, HelpLog,
    HelpOptions,      // the common options block
    HelpLogOptions,   // --seconds and --map
    UnknownCommand,   // %1 command
    UnknownOption,    // %1 option
    NeedsValue,       // %1 option
    NotANumber,       // %1 option, %2 value
    WrongArguments,   // %1 command
    NoPort,           // --port missing
    CannotOpenPort,   // %1 reason
    CannotRead,       // %1 file, %2 reason
    CannotWrite,      // %1 file
    NoKeyLine,        // %1 file, %2 catalogue text
    Written,          // %1 file
    Equal,            // %1 file
    TheUnit,          // "the unit", as the first of Differ
    Same,             // %1 first file, %2 second
    NoDevices,
    MayOpen,
    NoAccess,         // %1 group
    InGroupLater,     // %1 group
    Interrupted,
    DeviceLost,
    NoReplies,
    HelpPulls,
    HelpPullsOptions, // --band, --threshold, --average and --each
    OutOfRange,       // %1 unit byte, %2 file byte
    NoPulls,          // %1 threshold
    PullsFound,       // %1 pulls: heading of the pulls table
    PullColumns,      // the pulls table's column headings, separated by "|"
    PullNoTune,       // a pull whose log keeps no tune
    PullName,         // %1 number: a pull as a column of the band tables
    PullsAveraged,    // heading of the tunes table when --average was given
    PullsAveragedMany,// %1 the most pulls shown one by one: the same, averaged on its own
    AveragedColumns,  // the tunes table's column headings, separated by "|"
    TorqueBands,      // heading of the relative torque per band
    BandColumn,       // the first column of the band tables
    Comparison,       // %1 the first column's name: heading of the per-band differences
    HelpArchiveFind, HelpArchiveHistory, HelpArchiveGet, HelpArchiveSync,
    HelpArchiveOptions,   // --archive
    NothingFound,         // %1 text
    NoSuchTune,           // %1 hash
    AmbiguousTune,        // %1 hash prefix
    NoServer,
    SyncReport,           // %1 sent, %2 received, %3 waiting
    HistoryEvents,        // heading: events of a tune, oldest first
    HistoryMadeFrom,      // heading: the tunes it was made from
    HistoryMadeInto,      // heading: the tunes made from it
    FoundTunes,           // heading: tunes found by label or hash
    FoundEvents,          // heading: events found, newest first
    MoreFound,            // %1 shown
    AnswersDisagreeProgram,   // two reads of the unit brought different bytes
    AnswersDisagreeVerify,
    UnitUnchanged,            // after a failed program
    HelpArchiveLabel,
    LabelsOfTune,         // %1 hash, %2 labels
    NoLabels,             // as %2 of LabelsOfTune
    AnsweredHere,         // the server did not answer a question in time
    HelpFinderPlan, HelpFinderRun, HelpFinderAnalyse,
    HelpFinderOptions,    // --row, --step, --variants, --pulls, --rounds, --ceiling..., --propose, and the safety
    FinderPlanned,        // %1 count, %2 row percent, %3 folder
    FinderVariantLine,    // %1 file, %2 signed offset in degrees
    FinderColumns,        // the result table's column headings, separated by "|"
    FinderHeading,        // %1 row percent, %2 pulls
    FinderNotInLogs, FinderFewAdvances, FinderFewPulls, FinderNoPeak,   // why a cell is undecided
    FinderPullsBeganThere,
    FinderAtCeiling,      // a proposal held at the ceiling
    FinderStepBeyond,     // a proposal held one step beyond the advances tried
    FinderYes, FinderNo,  // bracketed
    FinderNoneDecided,    // %1 the reason
    FinderNoBase,         // the ceiling's offset needs a base map
    FinderBadRow,         // %1 value
    FinderWaiting,        // %1 round, %2 rounds, %3 variant, %4 variants: waiting for a shut throttle
    FinderRiding,         // %1 round, %2 rounds, %3 variant, %4 variants, %5 pull, %6 pulls
    FinderRestoring,      // programming the base map back
    FinderProgramFailed,  // %1 the reason
    FinderInterrupted,    // %1 the base file
    Count
};

// Texts with a count, in the form that fits it.
enum class N {
    Differ,           // %1 count, %2 first, %3 second
    LogDone,          // %1 rows, %2 file
    LogWriteFailed,   // %1 rows kept, %2 file, %3 reason
    UnitPartial,      // %1 the blocks written, as a list; counted by the blocks
    Count
};

// 0 English, 1 German, 2 French, 3 Czech.
void setLanguage(int language);
int language();
// The language of an --lang value ("en", "de", "fr", "cz"), or -1.
int languageFromOption(const QString &value);
// The language of the environment's LANG (de_*, fr_*, cs_*), else English.
int languageFromEnvironment();

QString text(T t);
// The form of `t` for n, with n put in for %1.
QString counted(N t, long long n);
// The form of `t` for n, with %1 left for the caller.
QString countedForm(N t, long long n);
// A message of the window's catalogue in the current language.
QString message(Msg m);

}  // namespace vorn::cli
