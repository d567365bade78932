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
    Differ,           // %1 count, %2 first, %3 second
    TheUnit,          // "the unit", as the first of Differ
    Same,             // %1 first file, %2 second
    NoDevices,
    MayOpen,
    NoAccess,         // %1 group
    InGroupLater,     // %1 group
    Interrupted,
    DeviceLost,
    LogDone,          // %1 rows, %2 file
    NoReplies,
    HelpPulls,
    HelpPullsOptions, // --band and --threshold
    OutOfRange,       // %1 unit byte, %2 file byte
    LogWriteFailed,   // %1 file, %2 reason, %3 rows kept
    NoPulls,          // %1 threshold
    PullLine,         // %1 log, %2 number, %3 start s, %4 end s, %5 from rpm, %6 to rpm
    PullTune,         // %1 hash, %2 file
    PullNoTune,
    PullBand,         // %1 from rpm, %2 to rpm, %3 seconds, %4 relative torque
    Comparison,       // heading of the per-band differences
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
    HelpArchiveLabel,
    LabelsOfTune,         // %1 hash, %2 labels
    NoLabels,             // as %2 of LabelsOfTune
    AnsweredHere,         // the server did not answer a question in time
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
// A message of the window's catalogue in the current language.
QString message(Msg m);

}  // namespace vorn::cli
