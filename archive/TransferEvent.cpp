#include "TransferEvent.h"

namespace vorn {

EventInput transferEvent(const TransferEnd &end)
{
    EventInput event;
    event.kind = end.kind;
    // Every bench of a shared archive reads the same words: the error in English.
    event.result = end.error ? messageText(*end.error, 0) : kResultOk;
    event.programCount = end.programCount;
    if (!end.image)
        return event;
    const bool ok = !end.error;
    if (ok || end.unitKnown)
        event.unit = unitTextsFromImage(*end.image);
    if (ok || end.kind == EventKind::Program)
        event.tune = end.image;   // found holding, or given (even when it did not arrive whole)
    else if (end.kind == EventKind::Verify)
        event.tune = end.unitReplied;
    // A tune sent back unchanged was not made from anything new.
    if (end.kind == EventKind::Program && end.madeFrom && tuneBytes(*end.madeFrom) != tuneBytes(*end.image))
        event.parent = end.madeFrom;
    return event;
}

}  // namespace vorn
