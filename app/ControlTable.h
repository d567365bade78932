// Index ranges of the window's control table (TFormHlav::ControlTable), for loops over it.
#pragma once

#include <functional>

class QString;

namespace vorn::table {

constexpr int kChannelChecks = 0;    // 16: ZacH2 ch 1..4, EndH2, ZacP2, EndP2
constexpr int kPickup2Checks = 8;    // 8: ZacP2 ch 1..4, EndP2 ch 1..4
constexpr int kAdvanceLabels = 16;   // 4: LabelAdvance1..4
constexpr int kTpsLabels = 20;       // 10: LabelTps1..10, the throttle row captions
constexpr int kLobeEdits = 30;       // 8: EditPalec1Zac..4Zac, EditPalec1End..4End
constexpr int kRpmAdvEdits = 38;     // 10: map column speeds
constexpr int kMapEdits = 48;        // 100: cell (row i, column j) at 48 + 10 i + j
constexpr int kServoRpmEdits = 148;  // 10
constexpr int kServoMvEdits = 158;   // 10
constexpr int kEditToUpDown = 138;   // an edit's spinner sits this many entries further
constexpr int kLobeUpDowns = kLobeEdits + kEditToUpDown;
constexpr int kRpmAdvUpDowns = kRpmAdvEdits + kEditToUpDown;
constexpr int kMapUpDowns = kMapEdits + kEditToUpDown;
constexpr int kServoRpmUpDowns = kServoRpmEdits + kEditToUpDown;
constexpr int kServoMvUpDowns = kServoMvEdits + kEditToUpDown;

constexpr int mapEdit(int row, int column) { return kMapEdits + 10 * row + column; }
constexpr int mapUpDown(int row, int column) { return kMapUpDowns + 10 * row + column; }

// The names of the 138 controls that come as an edit and its spinner, from kLobeEdits on in
// table order: "EditPalec1Zac" .. "EditNapPriv10" after prefix "Edit", the spinners' after "UpDown".
void forEachSpunControl(const char *prefix, const std::function<void(const QString &)> &put);

}  // namespace vorn::table
