// What the window offers a feature that reads or changes the parameter image. Every
// change goes through the window's after-edit path (clamp, show, program after change),
// so a feature's edit is one undo step and obeys "program after change" like a typed one.
#pragma once

#include "history/UndoHistory.h"
#include "params/ParameterImage.h"

#include <QString>

namespace vorn::host {

class ImageEditing {
public:
    virtual ~ImageEditing() = default;

    // The window's image as last committed.
    virtual const ParameterImage &image() const = 0;
    // Takes what was typed into the focused field but not yet committed, as leaving the
    // field would.
    virtual void commitTyping() = 0;
    // Makes `edited` the window's image as one undo step named `label` (its text is looked
    // up in the language shown whenever the step is shown).
    virtual void applyEdit(const ParameterImage &edited, const StepLabel &label) = 0;
    // Makes `image` the window's image through the after-edit path without recording a
    // step (undo and redo themselves).
    virtual void restoreImage(const ParameterImage &image) = 0;
    // Shows the image again, dropping typing that was not committed.
    virtual void showImage() = 0;
    // The parameter file the window shows as its own (the file label), empty when none.
    virtual QString currentFile() const = 0;
    // Asks for a parameter file with the window's Open dialog; empty on cancel.
    virtual QString chooseParameterFile() = 0;
};

}  // namespace vorn::host
