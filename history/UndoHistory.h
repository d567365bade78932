// Undo and redo of the window's parameter image: every recorded state of blocks 1 and 2.
#pragma once

#include "lang/Texts4.h"
#include "params/ParameterImage.h"

#include <QString>

#include <deque>

namespace vorn {

// What a step that changes several parameters is called; resolved in the language the
// menu shows at the time, so a language switch renames the steps too.
struct StepLabel {
    StepLabel() = default;
    StepLabel(const Text4 *t, const QString &a = QString()) : text(t), arg(a) {}
    static StepLabel named(const QString &name)
    {
        StepLabel l;
        l.fixed = name;
        return l;
    }

    const Text4 *text = nullptr;   // with %1 for arg when it has one
    QString arg;
    QString fixed;                 // a name given by a caller in its language
    bool empty() const { return !text && fixed.isEmpty(); }
    QString resolve(int language) const;
};

// Steps compare and restore blocks 1 and 2 only. Block 0 is the unit's identification as
// the unit last reported it; putting an older one back would make the window claim a unit
// it is not connected to, so undo and redo leave it as it is.
class UndoHistory {
public:
    static constexpr int kDefaultDepth = 1000;

    explicit UndoHistory(int depth = kDefaultDepth) : depth_(depth < 1 ? 1 : depth) {}

    // Starts over from this state: no steps.
    void reset(const ParameterImage &state);
    // Records a step from the recorded state to `state` when blocks 1 or 2 differ; a new
    // step drops what could be redone. Returns whether a step was recorded.
    bool record(const ParameterImage &state, const StepLabel &label = {});
    // Names the newest step when it was recorded without a name.
    bool labelNewest(const StepLabel &label);
    const ParameterImage &recorded() const { return recorded_; }

    bool canUndo() const { return cursor_ > 0; }
    bool canRedo() const { return cursor_ < steps_.size(); }
    int undoCount() const { return static_cast<int>(cursor_); }
    int redoCount() const { return static_cast<int>(steps_.size() - cursor_); }

    // The image after undoing (redoing) one step: blocks 1 and 2 of that state over
    // `current`, whose block 0 stays. The result becomes the recorded state. Without a step
    // to undo (redo) `current` comes back unchanged.
    ParameterImage undo(const ParameterImage &current);
    ParameterImage redo(const ParameterImage &current);

    // Name of the step undo (redo) would take back (do again); empty without one. A step of
    // one parameter is named from the parameter catalogue ("Limiter 11,000 → 10,500 rpm").
    QString undoName(int language) const;
    QString redoName(int language) const;

private:
    struct Step {
        ParameterImage before, after;
        StepLabel label;
    };
    QString nameOf(const Step &s, int language) const;

    std::size_t depth_;
    std::deque<Step> steps_;
    std::size_t cursor_ = 0;   // steps_[0 .. cursor_) are done
    ParameterImage recorded_;
};

// Whether two images differ in blocks 1 and 2.
bool settingsDiffer(const ParameterImage &a, const ParameterImage &b);

}  // namespace vorn
