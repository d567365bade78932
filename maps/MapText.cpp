// Spreadsheet text of the map and the servo curve: tab-separated copy, tolerant paste.
#include "MapOperations.h"

#include "link/Tune.h"

#include <QRegularExpression>
#include <QStringList>


namespace vorn::maps {

namespace {

int speedPoint(const ParameterImage &image, Table t, int col)
{
    return 100 * (t == Table::Advance ? image[Off::RpmAdv + col] : image[Off::ServoRpm + col]);
}

QString rowName(Table t, int row)
{
    if (t == Table::Servo)
        return QStringLiteral("mV");
    return QStringLiteral("%1%").arg(kThrottleAxis[static_cast<std::size_t>(row)]);
}

// A spreadsheet cell as a whole number: "12", "-3", "12.7", "12,7", "+4" (a decimal
// fraction is cut off, toward zero). nullopt for anything else.
std::optional<int> number(const QString &cell)
{
    static const QRegularExpression pattern(QStringLiteral("^([+-]?)(\\d{1,9})(?:[.,](\\d*))?$"));
    const auto m = pattern.match(cell);
    if (!m.hasMatch())
        return std::nullopt;
    const int whole = m.captured(2).toInt();
    return m.captured(1) == QLatin1String("-") ? -whole : whole;
}

// "2,000" or "1.500": a spreadsheet groups thousands with the same marks other locales use
// for decimals, so such a cell is 2000 in one and 2 in the other. Without a leading zero
// and with exactly three digits after the one mark, there is no telling which was meant.
bool groupedOrDecimal(const QString &cell)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[1-9]\\d{0,2}[.,]\\d{3}$"));
    return pattern.match(cell).hasMatch();
}

}  // namespace

QString formatBlock(const ParameterImage &image, Table t, Rect r, bool withAxes)
{
    const auto cut = clipped(t, r);
    if (!cut)
        return {};
    QStringList lines;
    if (withAxes) {
        QStringList header{QString()};
        for (int col = cut->left; col <= cut->right; ++col)
            header << QString::number(speedPoint(image, t, col));
        lines << header.join(QLatin1Char('\t'));
    }
    for (int row = cut->top; row <= cut->bottom; ++row) {
        QStringList cells;
        if (withAxes)
            cells << rowName(t, row);
        for (int col = cut->left; col <= cut->right; ++col)
            cells << QString::number(cellValue(image, t, {row, col}));
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

ParseResult parseBlock(const QString &text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    ParseResult result;
    if (lines.isEmpty()) {
        result.offending = text;
        return result;
    }
    static const QRegularExpression separator(QStringLiteral("[\t;]"));
    std::vector<QStringList> cells;
    for (const QString &line : lines)
        cells.push_back(line.split(separator));
    // An empty corner cell heads a block with its axes: skip the first line and column.
    const bool axes = cells.size() > 1 && cells[0].size() > 1 && cells[0][0].trimmed().isEmpty();
    Block block;
    for (std::size_t i = axes ? 1 : 0; i < cells.size(); ++i) {
        std::vector<std::optional<int>> row;
        for (int j = axes ? 1 : 0; j < cells[i].size(); ++j) {
            const QString cell = cells[i][j].trimmed();
            if (cell.isEmpty()) {
                row.push_back(std::nullopt);
                continue;
            }
            const auto value = number(cell);
            if (!value || groupedOrDecimal(cell)) {
                result.offending = cell;
                if (value)
                    result.ambiguousAt = Cell{static_cast<int>(i) + 1, j + 1};
                return result;
            }
            row.push_back(value);
        }
        block.rows.push_back(std::move(row));
    }
    result.block = std::move(block);
    return result;
}

Cells pasteBlock(ParameterImage &image, Table t, Cell at, const Block &block)
{
    Cells changed;
    for (std::size_t i = 0; i < block.rows.size(); ++i) {
        const int row = at.row + static_cast<int>(i);
        if (row < 0 || row >= rowCount(t))
            break;
        for (std::size_t j = 0; j < block.rows[i].size(); ++j) {
            const int col = at.column + static_cast<int>(j);
            if (col < 0 || col >= columnCount(t))
                break;
            if (!block.rows[i][j])
                continue;
            const Cells one = setCells(image, t, {row, col, row, col}, *block.rows[i][j]);
            changed.insert(changed.end(), one.begin(), one.end());
        }
    }
    return changed;
}

}  // namespace vorn::maps
