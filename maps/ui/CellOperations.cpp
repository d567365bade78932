// The map tools' operations on the cells they target, and spreadsheet copy and paste
// through the clipboard. Every change is one undo step through the host's after-edit path.
#include "MapTools.h"

#include "MapTexts.h"
#include "host/ImageEditing.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vorn::maps {

namespace {

// The operation's name in the undo menu, looked up whenever the menu shows it.
const Text4 *stepText(MapTools::Op op)
{
    using O = MapTools::Op;
    switch (op) {
    case O::Set: return &texts::kStepSet;
    case O::Add: return &texts::kStepAdd;
    case O::Scale: return &texts::kStepScale;
    case O::InterpH: return &texts::kStepInterpH;
    case O::InterpV: return &texts::kStepInterpV;
    case O::InterpBoth: return &texts::kStepInterpBoth;
    case O::Smooth: return &texts::kStepSmooth;
    case O::Paste: return &texts::kStepPaste;
    default: break;
    }
    return &texts::kStepSet;
}

}  // namespace

void MapTools::noCells()
{
    shell_.showHint(text4(texts::kNoCells, shell_.language()));
}

void MapTools::ask(Op op)
{
    const auto t = target();
    if (!t)
        return noCells();
    const bool servo = t->table == Table::Servo;
    const int lang = shell_.language();
    const QString title = text4(*stepText(op), lang);
    std::optional<int> v;
    if (op == Op::Set)
        v = shell_.askNumber(title, text4(servo ? texts::kValueMv : texts::kValueDeg, lang),
                             cellValue(editing_.image(), t->table, {t->rect.top, t->rect.left}), 0,
                             servo ? 5000 : kAdvanceMax);
    else if (op == Op::Add)
        v = shell_.askNumber(title, text4(servo ? texts::kValueMv : texts::kValueDeg, lang), 0,
                             servo ? -5000 : -kAdvanceMax, servo ? 5000 : kAdvanceMax);
    else
        v = shell_.askNumber(title, text4(texts::kPercent, lang), 100, -1000, 1000);
    if (v && !shell_.closing())
        run(op, *v);
}

void MapTools::run(Op op, int value)
{
    if (op == Op::SelectAll) {
        if (const auto t = live_.shownTable())
            select(*t, wholeTable(*t));
        return;
    }
    if (op == Op::Copy)
        return copy();
    if (op == Op::Paste)
        return paste();
    const auto t = target();
    if (!t)
        return noCells();
    editing_.commitTyping();   // what was typed into a cell counts first
    ParameterImage im = editing_.image();
    switch (op) {
    case Op::Set: setCells(im, t->table, t->rect, value); break;
    case Op::Add: addToCells(im, t->table, t->rect, value); break;
    case Op::Scale: scaleCells(im, t->table, t->rect, value); break;
    case Op::InterpH: interpolate(im, t->table, t->rect, Direction::Horizontal); break;
    case Op::InterpV: interpolate(im, t->table, t->rect, Direction::Vertical); break;
    case Op::InterpBoth: interpolate(im, t->table, t->rect, Direction::Both); break;
    case Op::Smooth: smooth(im, t->table, t->rect); break;
    default: break;
    }
    editing_.applyEdit(im, StepLabel(stepText(op)));
    emit cellsChanged();
}

void MapTools::copy()
{
    const auto t = target();
    if (!t)
        return noCells();
    editing_.commitTyping();
    const bool whole = t->rect == limitToShown(t->table, wholeTable(t->table))
                       && t->rect.rows() == rowCount(t->table);
    QGuiApplication::clipboard()->setText(formatBlock(editing_.image(), t->table, t->rect, whole));
}

void MapTools::paste()
{
    const auto t = target();
    if (!t)
        return noCells();
    const ParseResult parsed = parseBlock(QGuiApplication::clipboard()->text());
    const int lang = shell_.language();
    if (!parsed.block) {
        const QString text = parsed.ambiguousAt
                                 ? text4(texts::kGrouped, lang)
                                       .arg(parsed.ambiguousAt->row)
                                       .arg(parsed.ambiguousAt->column)
                                       .arg(parsed.offending)
                                 : text4(texts::kNotNumbers, lang).arg(parsed.offending.left(40));
        shell_.message(text, text4(texts::kPasteWhat, lang));
        return;
    }
    editing_.commitTyping();
    ParameterImage im = editing_.image();
    pasteBlock(im, t->table, {t->rect.top, t->rect.left}, *parsed.block);
    editing_.applyEdit(im, StepLabel(stepText(Op::Paste)));
    emit cellsChanged();
}

}  // namespace vorn::maps
