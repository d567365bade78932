// The window side of undo and redo.
#include "UndoUi.h"

#include "history/HistoryTexts.h"
#include "host/CellEvents.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// An ampersand in a step's name (a file name) is shown, not taken as a mnemonic.
QString menuSafe(const QString &name)
{
    return QString(name).replace(QLatin1Char('&'), QLatin1String("&&"));
}

const QKeyCombination kUndoKey{Qt::ControlModifier, Qt::Key_Z};
const QKeyCombination kRedoKeys[] = {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z),
                                     QKeyCombination(Qt::ControlModifier, Qt::Key_Y)};

// 0 no history key, -1 undo, +1 redo.
int historyKey(const QKeyEvent *key)
{
    const QKeyCombination k = key->keyCombination();
    if (k == kUndoKey)
        return -1;
    for (const QKeyCombination &r : kRedoKeys)
        if (k == r)
            return 1;
    return 0;
}

}  // namespace

UndoUi::UndoUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::LiveView &live,
               vorn::host::Link &link, vorn::host::HostNotifier &notifier, QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), live_(live), link_(link)
{
    using vorn::host::HostNotifier;
    undo_ = new QAction(this);
    undo_->setObjectName(QStringLiteral("MenuUndo"));
    undo_->setShortcut(QKeySequence(kUndoKey));
    redo_ = new QAction(this);
    redo_->setObjectName(QStringLiteral("MenuRedo"));
    redo_->setShortcuts({QKeySequence(kRedoKeys[0]), QKeySequence(kRedoKeys[1])});
    connect(undo_, &QAction::triggered, this, &UndoUi::undo);
    connect(redo_, &QAction::triggered, this, &UndoUi::redo);
    shell.placeAction(vorn::host::MenuPlace::EditHistory, undo_);
    shell.placeAction(vorn::host::MenuPlace::EditHistory, redo_);

    connect(&notifier, &HostNotifier::started, this, &UndoUi::started);
    connect(&notifier, &HostNotifier::editStepStarted, this, [this](const vorn::StepLabel &l) { pending_ = l; });
    connect(&notifier, &HostNotifier::imageEdited, this, &UndoUi::imageEdited);
    connect(&notifier, &HostNotifier::transferStarted, this, [this](HostNotifier::Transfer kind) {
        if (kind == HostNotifier::Transfer::Read)
            readPending_ = true;
    });
    connect(&notifier, &HostNotifier::linkEventsApplied, this, &UndoUi::linkEventsApplied);
    connect(&notifier, &HostNotifier::languageChanged, this, [this](int language) {
        language_ = language;
        updateActions();
    });
    language_ = shell.language();
    updateActions();
    qApp->installEventFilter(this);
    // Inside a map cell the keys come through the cells' dispatcher, at the history's slot.
    live.cellEvents().handle(vorn::host::CellEvents::Slot::HistoryKeys, this,
                             [this](QObject *cell, QEvent *event) { return historyKeys(cell, event); });
}

void UndoUi::started()
{
    history_.reset(editing_.image());
    pending_ = {};
    started_ = true;
    updateActions();
}

void UndoUi::record(const vorn::StepLabel &label)
{
    if (!started_)
        return;
    history_.record(editing_.image(), label);
    updateActions();
}

void UndoUi::imageEdited()
{
    const vorn::StepLabel label = pending_;
    pending_ = {};
    if (applying_) {
        history_.record(editing_.image());   // only the clamp of an undone state, never a step
        return;
    }
    record(label);
}

void UndoUi::linkEventsApplied()
{
    // Blocks 1 and 2 of a Read arrive on different ticks; the Read is one step once the
    // session stops reading (verifying, failed or refused).
    if (!started_ || link_.session().mode() == vorn::ModeRead)
        return;
    if (vorn::settingsDiffer(history_.recorded(), editing_.image())) {
        vorn::StepLabel label;
        if (readPending_)
            label.text = &vorn::htext::StepRead;
        record(label);
    }
    readPending_ = false;
}

void UndoUi::step(bool back)
{
    if (!started_)
        return;
    if (back ? history_.canUndo() : history_.canRedo()) {
        const vorn::ParameterImage state = back ? history_.undo(editing_.image()) : history_.redo(editing_.image());
        applying_ = true;
        editing_.restoreImage(state);   // clamp, show (dropping typing), program after change
        applying_ = false;
    } else {
        editing_.showImage();   // still drops what was typed into the focused field
    }
    updateActions();
}

void UndoUi::undo()
{
    step(true);
}

void UndoUi::redo()
{
    step(false);
}

bool UndoUi::eventFilter(QObject *watched, QEvent *event)
{
    return !live_.cellEvents().isCell(watched) && historyKeys(watched, event);
}

bool UndoUi::historyKeys(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    // A line edit has its own undo for these keys; inside the window's fields they undo
    // the image instead.
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || edit->window() != shell_.dialogParent())
        return false;
    const int key = historyKey(static_cast<QKeyEvent *>(event));
    if (key == 0)
        return false;
    if (type == QEvent::ShortcutOverride) {
        event->accept();   // deliver it as a key press to the field, where it is handled below
        return true;
    }
    if (key < 0) {
        // Typing not yet committed is the newest change: Undo takes back only that, and the
        // next Undo the last step.
        const QString typed = edit->text();
        editing_.showImage();
        if (edit->text() != typed) {
            edit->selectAll();
            return true;
        }
    }
    step(key < 0);
    return true;
}

void UndoUi::updateActions()
{
    const QString u = history_.undoName(language_);
    const QString r = history_.redoName(language_);
    undo_->setText(u.isEmpty() ? vorn::text4(vorn::htext::Undo, language_)
                               : vorn::text4(vorn::htext::UndoStep, language_).arg(menuSafe(u)));
    redo_->setText(r.isEmpty() ? vorn::text4(vorn::htext::Redo, language_)
                               : vorn::text4(vorn::htext::RedoStep, language_).arg(menuSafe(r)));
    undo_->setEnabled(history_.canUndo());
    redo_->setEnabled(history_.canRedo());
}
