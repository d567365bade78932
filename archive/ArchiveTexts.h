// The archive's texts in the four languages, and the sentences the window and vorn4-cli
// build from what the archive knows of a tune.
#pragma once

#include "ArchiveRecords.h"

#include <QString>

namespace vorn {

enum class ArchiveText {
    BadServerUrl,       // %1 address
    PasswordInUrl,      // %1 address
    CannotOpen,         // %1 file or address, %2 reason
    NewerSchema,        // %1 file or address
    WriteFailed,        // %1 reason
    NotInArchive,
    AsRead, AsProgrammed, AsVerified, AsCompared,   // %1 date, %2 bench
    Changed,            // %1 bench, %2 date, %3 date of your tune
    ChangedNoYours,     // %1 bench, %2 date
    ServerUnreachable,  // %1 address, %2 reason
    NotAnArchive,
    NoAnswer,           // the server took the connection and said nothing
    Count
};

// The language errors made inside the archive speak: 0 English, 1 German, 2 French,
// 3 Czech. Any thread may read it.
void setArchiveLanguage(int language);
int archiveLanguage();

QString archiveText(ArchiveText t, int language = archiveLanguage());
QString eventKindText(EventKind kind, int language = archiveLanguage());
QString labelKeyText(LabelKey key, int language = archiveLanguage());
// "2 Nov 2026" or, without the year, "2 Nov", in local time.
QString archiveDate(const QDateTime &utc, int language, bool withYear = true);

// "as programmed 2 Nov 2026 on bench 2, customer Novák" or "tune not in archive".
QString tuneStatusText(const TuneStatus &status, int language = archiveLanguage());
// "changed on bench 2 on 3 Nov, from your tune of 1 Nov"; empty when nobody else changed it.
QString changedText(const TuneStatus &status, int language = archiveLanguage());
// "archive server not reachable; kept here, 3 events waiting".
QString waitingText(int events, int language = archiveLanguage());

}  // namespace vorn
