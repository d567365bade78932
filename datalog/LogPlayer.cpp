// The replay clock over a loaded log.
#include "LogPlayer.h"

#include <algorithm>

namespace vorn {

void LogPlayer::load(std::vector<LogRow> rows)
{
    rows_ = std::move(rows);
    playing_ = false;
    seek(0);
}

void LogPlayer::play()
{
    if (rows_.empty())
        return;
    if (position_ + 1 >= rows_.size())
        seek(0);
    playing_ = true;
}

void LogPlayer::seek(std::size_t index)
{
    position_ = rows_.empty() ? 0 : std::min(index, rows_.size() - 1);
    clockMs_ = rows_.empty() ? 0 : rows_[position_].timeMs;
}

LogPlayer::Step LogPlayer::advance(std::int64_t wallMs)
{
    Step step{position_ + 1, position_ + 1};
    if (!playing_ || rows_.empty() || wallMs <= 0)
        return step;
    clockMs_ += wallMs * speed_;
    while (step.last < rows_.size() && rows_[step.last].timeMs <= clockMs_)
        ++step.last;
    if (!step.empty())
        position_ = step.last - 1;
    if (position_ + 1 >= rows_.size())
        playing_ = false;
    return step;
}

}  // namespace vorn
