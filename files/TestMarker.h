// The developer test-mode marker: a text file that unlocks the diagnostic labels.
#pragma once

#include <QByteArray>
#include <QString>

namespace vorn {

// True when any whitespace-separated word of the content is exactly "DIAG_UNLOCK".
// Words of any length are handled; a longer word containing the keyword does not count.
bool markerUnlocks(const QByteArray &content);

// Reads the marker file at that path; a missing or unreadable file gives false.
bool markerFileUnlocks(const QString &path);

}  // namespace vorn
