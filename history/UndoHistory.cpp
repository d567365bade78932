// Undo and redo of the window's parameter image.
#include "UndoHistory.h"

#include "HistoryTexts.h"
#include "params/ParameterCatalogue.h"

#include <algorithm>

namespace vorn {

namespace {

ParameterImage withSettingsOf(const ParameterImage &current, const ParameterImage &state)
{
    ParameterImage out = current;
    std::copy(state.bytes.begin() + kBlockSize, state.bytes.end(), out.bytes.begin() + kBlockSize);
    return out;
}

}  // namespace

QString StepLabel::resolve(int language) const
{
    if (text)
        return arg.isNull() ? text4(*text, language) : text4(*text, language).arg(arg);
    return fixed;
}

bool settingsDiffer(const ParameterImage &a, const ParameterImage &b)
{
    return !std::equal(a.bytes.begin() + kBlockSize, a.bytes.end(), b.bytes.begin() + kBlockSize);
}

void UndoHistory::reset(const ParameterImage &state)
{
    steps_.clear();
    cursor_ = 0;
    recorded_ = state;
}

bool UndoHistory::record(const ParameterImage &state, const StepLabel &label)
{
    if (!settingsDiffer(recorded_, state)) {
        recorded_ = state;   // block 0 follows the unit without a step
        return false;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(cursor_), steps_.end());
    steps_.push_back({recorded_, state, label});
    if (steps_.size() > depth_)
        steps_.pop_front();
    cursor_ = steps_.size();
    recorded_ = state;
    return true;
}

bool UndoHistory::labelNewest(const StepLabel &label)
{
    if (cursor_ == 0 || cursor_ != steps_.size() || !steps_.back().label.empty())
        return false;
    steps_.back().label = label;
    return true;
}

ParameterImage UndoHistory::undo(const ParameterImage &current)
{
    if (!canUndo())
        return current;
    --cursor_;
    recorded_ = withSettingsOf(current, steps_[cursor_].before);
    return recorded_;
}

ParameterImage UndoHistory::redo(const ParameterImage &current)
{
    if (!canRedo())
        return current;
    recorded_ = withSettingsOf(current, steps_[cursor_].after);
    ++cursor_;
    return recorded_;
}

QString UndoHistory::nameOf(const Step &s, int language) const
{
    const auto diffs = imageDifferences(s.before, s.after);
    if (diffs.size() == 1)
        return changeText(diffs.front(), language, s.after);
    if (!s.label.empty())
        return s.label.resolve(language);
    if (diffs.empty())
        return text4(htext::StepChange, language);
    return text4(countForm(htext::StepParameters, static_cast<long long>(diffs.size()), language), language)
        .arg(diffs.size());
}

QString UndoHistory::undoName(int language) const
{
    return canUndo() ? nameOf(steps_[cursor_ - 1], language) : QString();
}

QString UndoHistory::redoName(int language) const
{
    return canRedo() ? nameOf(steps_[cursor_], language) : QString();
}

}  // namespace vorn
