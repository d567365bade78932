// Operations on the advance map and the servo curve of the parameter image: the editing
// buttons' steps, the throttle calibration, and the selection tools (set, add, scale,
// interpolate, smooth, copy and paste as spreadsheet text). Plain rules, no widgets.
#pragma once

#include "link/LiveValues.h"
#include "params/ParameterImage.h"

#include <QString>

#include <optional>
#include <vector>

namespace vorn::maps {

// The advance map cells' range in degrees (bytes).
constexpr int kAdvanceMin = 0;
constexpr int kAdvanceMax = 60;
// The servo voltage bytes (mV / 20): the field accepts 20..5000 mV, the plus and minus
// buttons stop one step inside, at 20..4980 mV.
constexpr int kServoMin = 1;
constexpr int kServoMax = 250;
constexpr int kServoStepMin = 1;
constexpr int kServoStepMax = 249;
constexpr int kServoMvPerByte = 20;
// Live throttle voltages the calibration accepts, in mV.
constexpr int kTps0MinMv = 100, kTps0MaxMv = 2500;
constexpr int kTps100MinMv = 2500, kTps100MaxMv = 4900;

// Which table an operation works on: the 10 x 10 advance map (degrees) or the servo
// curve, one row of 10 target voltages (shown and typed in mV).
enum class Table { Advance, Servo };

struct Cell {
    int row = 0;
    int column = 0;
    bool operator==(const Cell &) const = default;
};
using Cells = std::vector<Cell>;   // the cells an operation changed, row by row

// A rectangle of cells, corners included, in any order; normalised by the operations.
struct Rect {
    int top = 0, left = 0, bottom = 0, right = 0;
    static Rect spanning(Cell a, Cell b);
    int rows() const { return bottom - top + 1; }
    int columns() const { return right - left + 1; }
    bool contains(Cell c) const
    {
        return c.row >= top && c.row <= bottom && c.column >= left && c.column <= right;
    }
    bool operator==(const Rect &) const = default;
};

int rowCount(Table t);      // 10 for the map, 1 for the servo curve
int columnCount(Table t);   // 10
Rect wholeTable(Table t);
// The rectangle cut to the table; nullopt when nothing of it lies inside.
std::optional<Rect> clipped(Table t, Rect r);

// A cell's byte and its value as the window shows it (degrees, or mV for the servo).
std::uint8_t &cellByte(ParameterImage &image, Table t, Cell c);
int cellValue(const ParameterImage &image, Table t, Cell c);

// ---- the editing buttons ------------------------------------------------------------
// One degree on every map cell; cells at 0 or 60 stay.
Cells stepAdvanceAll(ParameterImage &image, bool up);
// One degree on the live cell; nothing below the map. The cell's indexes are 0..9: the
// active-cell search and the log reader (which rejects other cells) give no others.
Cells stepAdvanceLive(ParameterImage &image, const LiveCell &live, bool up);
// One servo byte (20 mV) on all ten points, or on one point; bytes stay within 1..249.
Cells stepServoAll(ParameterImage &image, bool up);
// `point` is 0..9, the live servo point.
Cells stepServoPoint(ParameterImage &image, int point, bool up);
// One degree on every throttle row of a column (0..9, one spin button each).
Cells stepColumn(ParameterImage &image, int column, bool up);
// The throttle calibration from the live sensor voltage; false (image untouched) when
// the voltage lies outside what the calibration accepts.
bool calibrateTps0(ParameterImage &image, int liveMv);
bool calibrateTps100(ParameterImage &image, int liveMv);

// ---- selection tools ----------------------------------------------------------------
// Values are in the units the window shows (degrees, servo mV). Every result truncates
// toward zero when it becomes a byte and is clipped to the cell's range.
Cells setCells(ParameterImage &image, Table t, Rect r, int value);
Cells addToCells(ParameterImage &image, Table t, Rect r, int delta);
Cells scaleCells(ParameterImage &image, Table t, Rect r, int percent);

// Straight lines between the selection's edge cells, over the real axis values (the
// speed points across, the throttle axis down): across each row from its left to its
// right cell, down each column from its top to its bottom cell, or bilinear from the
// four corner cells.
enum class Direction { Horizontal, Vertical, Both };
Cells interpolate(ParameterImage &image, Table t, Rect r, Direction d);

// Each selected cell becomes the weighted mean of its 3 x 3 neighbourhood (weights 4 in
// the middle, 2 beside, 1 diagonal; the servo curve uses 1-2-1 along its row). At the
// table's edges only the neighbours that exist count. Neighbours are read before any
// cell changes.
Cells smooth(ParameterImage &image, Table t, Rect r);

// ---- spreadsheet text ---------------------------------------------------------------
// The rectangle as tab-separated lines. withAxes adds a first line of the speed points
// (rpm) and a first column naming the rows ("0%".."100%" for the map, "mV" for the
// servo curve), headed by an empty corner cell; it is meant for the whole table.
QString formatBlock(const ParameterImage &image, Table t, Rect r, bool withAxes);

// A block of numbers from a spreadsheet: lines of tab- or semicolon-separated values
// (a block made by formatBlock with axes pastes too: an empty first cell marks the axes
// line and column, which are skipped). Decimals with "." or "," truncate toward zero;
// empty cells mean "leave as it is". Anything else is refused, and so is a number that
// may be grouped thousands as well as a decimal ("2,000", "1.500").
struct Block {
    std::vector<std::vector<std::optional<int>>> rows;
};
struct ParseResult {
    std::optional<Block> block;   // nullopt when refused
    QString offending;            // the first text that is not a number
    // Where a refused number could be read two ways: line and column of the pasted text,
    // counted from 1.
    std::optional<Cell> ambiguousAt;
};
ParseResult parseBlock(const QString &text);

// Writes the block from the given cell rightwards and downwards; what lies beyond the
// table's edge is left out.
Cells pasteBlock(ParameterImage &image, Table t, Cell at, const Block &block);

}  // namespace vorn::maps
