// Fuzz entry for the map tools' paste: any clipboard text is refused or gives a block that
// pastes only inside the table, only where it has numbers, with the values the tools'
// rule gives; a table copied as text pastes back to the same numbers.
#include "FuzzCheck.h"
#include "maps/MapOperations.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace vorn::maps;

// What a pasted number becomes: truncated to the cell's unit, kept in its range.
int expectedValue(Table t, int value)
{
    if (t == Table::Advance)
        return std::clamp(value, kAdvanceMin, kAdvanceMax);
    return std::clamp(value / kServoMvPerByte, kServoMin, kServoMax) * kServoMvPerByte;
}

// The table copied with and without its axes reads back as its own numbers.
void checkCopyReadsBack(const vorn::ParameterImage &image, Table t)
{
    for (bool axes : {false, true}) {
        const ParseResult copy = parseBlock(formatBlock(image, t, wholeTable(t), axes));
        FUZZ_CHECK(copy.block && int(copy.block->rows.size()) == rowCount(t));
        for (int r = 0; r < rowCount(t); ++r) {
            FUZZ_CHECK(int(copy.block->rows[r].size()) == columnCount(t));
            for (int c = 0; c < columnCount(t); ++c)
                FUZZ_CHECK(copy.block->rows[r][c] == cellValue(image, t, {r, c}));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ParseResult parsed = parseBlock(text);
    if (!parsed.block) {
        // Refused: the whole text when it has no lines, else the first cell that is no number.
        FUZZ_CHECK(parsed.offending == text || (!parsed.offending.isEmpty() && text.contains(parsed.offending)));
        return 0;
    }
    const Block &block = *parsed.block;
    FUZZ_CHECK(!block.rows.empty());

    // Where and onto which table the block goes comes from the input's length.
    const Table t = size % 2 ? Table::Servo : Table::Advance;
    const Cell at{int(size / 2 % 10) % rowCount(t), int(size / 20 % 10)};
    vorn::ParameterImage image;
    for (int i = 0; i < vorn::kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 37 + 11);
    const vorn::ParameterImage before = image;
    const Cells changed = pasteBlock(image, t, at, block);

    vorn::ParameterImage expected = before;
    for (std::size_t i = 0; i < block.rows.size(); ++i)
        for (std::size_t j = 0; j < block.rows[i].size(); ++j) {
            const Cell c{at.row + int(i), at.column + int(j)};
            if (c.row >= rowCount(t) || c.column >= columnCount(t) || !block.rows[i][j])
                continue;
            const int value = expectedValue(t, *block.rows[i][j]);
            FUZZ_CHECK(cellValue(image, t, c) == value);
            cellByte(expected, t, c) = static_cast<std::uint8_t>(value / (t == Table::Advance ? 1 : kServoMvPerByte));
        }
    // Nothing else of the image moved, and the cells said to change are those that did.
    FUZZ_CHECK(image == expected);
    std::size_t differing = 0;
    for (int r = 0; r < rowCount(t); ++r)
        for (int c = 0; c < columnCount(t); ++c)
            differing += cellValue(before, t, {r, c}) != cellValue(image, t, {r, c});
    FUZZ_CHECK(changed.size() == differing);
    for (const Cell &c : changed)
        FUZZ_CHECK(c.row >= 0 && c.row < rowCount(t) && c.column >= 0 && c.column < columnCount(t)
              && cellValue(before, t, c) != cellValue(image, t, c));

    checkCopyReadsBack(image, Table::Advance);
    checkCopyReadsBack(image, Table::Servo);
    return 0;
}
