// Which pulls a comparison draws as one line: every pull alone, or the pulls of each tune
// averaged into one. The window's "Average the pulls of each tune" and vorn4-cli pulls
// --average group them by this one rule.
#pragma once

#include <QString>

#include <vector>

namespace vorn {

// The lines for the pulls `chosen` (indexes into `tuneOf`, the tune hash of every pull, empty
// for a pull whose log keeps no tune), each line the pulls it stands for. With `average`
// the pulls of one tune are one line, placed where its first chosen pull comes; a pull
// without a tune is never averaged with another. Indexes out of range are left out.
std::vector<std::vector<int>> pullLines(const std::vector<int> &chosen, const std::vector<QString> &tuneOf, bool average);

}  // namespace vorn
