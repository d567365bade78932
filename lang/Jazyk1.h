// The caption catalogue: captions, hints and list entries of the main window in four languages.
#pragma once

#include "Jazyk2.h"

#include <QString>

#include <array>
#include <vector>

namespace vorn {

enum class CaptionProperty {
    Caption,     // visible text: label, button, check box, group box, tab, menu, window title
    Hint,        // "short|long" or one text for both (tooltip and status bar)
    ListEntry,   // the text of one entry of a drop-down list
};

// One control property in all four languages. Rows naming several controls in the source
// tables (the toolbar buttons and their menu items, the channel groups, the port items)
// are expanded, so every row here names exactly one control.
struct CaptionRow {
    QString control;   // objectName; the main window is "FormHlav"
    CaptionProperty property;
    int entry;         // list position for ListEntry, otherwise -1
    std::array<QString, kLanguageCount> text;   // English, German, French, Czech
};

// Every row, captions and list entries first (the window title and LabelSpojeni leading),
// then the hints.
const std::vector<CaptionRow> &captionRows();

// The text of one row in a language; a null QString when the catalogue has no such row.
// A language outside 0..3 reads English.
QString captionText(const QString &control, CaptionProperty property, int language, int entry = -1);

}  // namespace vorn
