// Which window control shows which image byte, with its encoding and spinner limits.
#pragma once

#include "ParameterImage.h"

#include <string>
#include <vector>

namespace vorn {

struct FieldBinding {
    enum class Kind { Numeric, Check };
    Kind kind;
    std::string edit;     // EditX for numbers, CheckBoxX for flags
    std::string upDown;   // UpDownX for numbers, empty for flags
    int offset;           // image offset
    Encoding encoding;
    int min = 0, max = 0, step = 1, initial = 0;   // spinner limits in physical units
    bool grouped = true;  // thousands separator shown (not in map cells)
};

// Every bound field except the two lists, in the order the window reads them back:
// the scalar fields, then channels 1..4, then columns/points 1..10, then the 100 map cells.
const std::vector<FieldBinding> &fieldBindings();

// Looks a numeric or check binding up by its edit or check box name; nullptr when unknown.
const FieldBinding *findBinding(const std::string &controlName);

}  // namespace vorn
