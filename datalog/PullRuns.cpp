#include "datalog/PullRuns.h"

#include <algorithm>

namespace vorn {

std::vector<std::vector<int>> pullLines(const std::vector<int> &chosen, const std::vector<QString> &tuneOf, bool average)
{
    std::vector<std::vector<int>> lines;
    std::vector<QString> lineTune;   // the tune of each line, empty for one that stays alone
    for (int i : chosen) {
        if (i < 0 || i >= static_cast<int>(tuneOf.size()))
            continue;
        const QString &tune = tuneOf[static_cast<std::size_t>(i)];
        if (average && !tune.isEmpty()) {
            const auto same = std::find(lineTune.begin(), lineTune.end(), tune);
            if (same != lineTune.end()) {
                lines[static_cast<std::size_t>(same - lineTune.begin())].push_back(i);
                continue;
            }
        }
        lines.push_back({i});
        lineTune.push_back(average ? tune : QString());
    }
    return lines;
}

}  // namespace vorn
