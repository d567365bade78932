// What the workshop archive keeps and answers: tunes named by content, events, labels, and
// the plain structs its queries return.
#pragma once

#include "params/ParameterImage.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace vorn {

// The bytes a tune consists of: blocks 1 and 2 without the reserved byte 101, which the unit
// keeps to itself. tuneHash() is the SHA-256 of exactly these bytes.
constexpr int kTuneSize = 2 * kBlockSize - 1;
// The fewest hex digits that name a tune by the start of its hash.
constexpr int kHashPrefixMin = 4;
QByteArray tuneBytes(const ParameterImage &image);
// An image holding the tune in blocks 1 and 2 (block 0 and the reserved byte zero); nothing
// when the bytes are not a tune.
std::optional<ParameterImage> imageFromTuneBytes(const QByteArray &bytes);

enum class EventKind { Read, Program, Verify, Compare };
constexpr int kEventKindCount = 4;
// "read", "program", "verify", "compare": the words stored and printed.
const char *eventKindWord(EventKind kind);
std::optional<EventKind> eventKindFromWord(QStringView word);

// What a transfer that ended well stores as its result; anything else is the error text.
inline const QString kResultOk = QStringLiteral(" OK");

enum class LabelKey { Customer, Bike, Registration, Note };   // registration or frame number
constexpr int kLabelKeyCount = 4;
const char *labelKeyWord(LabelKey key);   // "customer", "bike", "registration", "note"
std::optional<LabelKey> labelKeyFromWord(QStringView word);
// The current value of each label (empty: none), indexed by LabelKey.
using LabelValues = std::array<QString, kLabelKeyCount>;

// The unit's identification as block 0 gives it.
struct UnitTexts {
    QString version;    // program name and number, "VRN04"
    QString date;       // " 7. 8.2005"
    QString time;       // "09:05"
    QString freeText;   // the 30 characters of free text up to the first zero
    bool operator==(const UnitTexts &) const = default;
};
UnitTexts unitTextsFromImage(const ParameterImage &image);

// An event as the caller hands it to the archive.
struct EventInput {
    EventKind kind = EventKind::Read;
    QString result = kResultOk;                 // " OK" or the error text
    std::optional<UnitTexts> unit;              // when block 0 arrived
    std::optional<ParameterImage> tune;         // the tune the unit was found holding or was given
    std::optional<ParameterImage> parent;       // the tune it was made from, when known
    std::optional<int> programCount;            // number of programmings, from live values
    QString id;                                 // a new UUID when empty
    QDateTime timeUtc;                          // now when invalid
};

// A label as the caller attaches it. A later label of the same key replaces it on screen;
// the earlier one stays in the archive.
struct LabelInput {
    enum class Target { Tune, Event };
    Target target = Target::Tune;
    QString targetId;   // tune hash or event id
    LabelKey key = LabelKey::Note;
    QString value;      // empty clears the label
};

struct ArchiveEvent {
    QString id;
    EventKind kind = EventKind::Read;
    QString result;
    QDateTime timeUtc;
    QString bench;
    QString user;
    UnitTexts unit;
    std::optional<int> programCount;
    QString tuneHash;     // empty when the transfer ended before a tune was known
    LabelValues labels;   // the event's own labels
    bool ok() const { return result == kResultOk; }
};

struct TuneSummary {
    QString hash;
    QDateTime firstSeenUtc;
    LabelValues labels;
};

struct FindResult {
    std::vector<TuneSummary> tunes;     // tunes whose labels or hash match
    std::vector<ArchiveEvent> events;   // newest first
    bool truncated = false;             // more events matched than were returned
    // The current labels of the tunes the events name (filled by ArchiveService::find, for
    // a list that shows each event with its tune's customer and bike).
    std::map<QString, LabelValues> tuneLabels;
};

// A tune of a tree, with the tune it links to on the way from the one asked about.
struct TuneNode {
    QString hash;
    QString via;     // the child (for ancestors) or parent (for descendants) it was reached from
    int depth = 1;   // 1: a parent or child of the tune asked about
};

struct TuneHistory {
    QString hash;
    bool stored = false;                // the tune's bytes are in the archive
    LabelValues labels;
    std::vector<ArchiveEvent> events;   // oldest first
    std::vector<TuneNode> ancestors;    // nearest first
    std::vector<TuneNode> descendants;  // nearest first
};

// What the archive knows of a tune a unit was found holding.
struct TuneStatus {
    QString hash;
    bool known = false;                 // stored, or named by an event
    LabelValues labels;                 // the tune's labels, else those of its newest event
    // The event to name it by: the newest Program that ended " OK", else the newest event.
    std::optional<ArchiveEvent> shown;
    // Set when someone else worked on this tune: its newest event is a Program by another
    // bench or user, or it descends from a tune this bench programmed and this bench did
    // not program it itself.
    struct Changed {
        ArchiveEvent by;                    // that Program (or the tune's first event)
        std::optional<ArchiveEvent> yours;  // this bench's Program of the ancestor
    };
    std::optional<Changed> changed;
};

// Who records: the bench name (the host name unless set) and the user.
struct ArchiveIdentity {
    QString bench;
    QString user;
};

}  // namespace vorn
