// The window side of undo and redo.
#include "ChangeHistoryUi.h"

#include "app/Hlav.h"
#include "history/HistoryTexts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

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

ChangeHistoryUi::ChangeHistoryUi(TFormHlav &form) : QObject(&form), form_(form)
{
    setObjectName(QStringLiteral("ChangeHistory"));
    QMenuBar *bar = form.menuBar();
    auto *com = form.findChild<QMenu *>(QStringLiteral("MenuCom"));
    edit_ = new QMenu(QStringLiteral("&Edit"), bar);
    edit_->setObjectName(QStringLiteral("MenuEdit"));
    edit_->menuAction()->setObjectName(QStringLiteral("MenuEdit"));
    if (com)
        bar->insertMenu(com->menuAction(), edit_);
    else
        bar->addMenu(edit_);

    undo_ = edit_->addAction(QStringLiteral("&Undo"));
    undo_->setObjectName(QStringLiteral("MenuUndo"));
    undo_->setShortcut(QKeySequence(kUndoKey));
    redo_ = edit_->addAction(QStringLiteral("&Redo"));
    redo_->setObjectName(QStringLiteral("MenuRedo"));
    redo_->setShortcuts({QKeySequence(kRedoKeys[0]), QKeySequence(kRedoKeys[1])});
    connect(undo_, &QAction::triggered, this, &ChangeHistoryUi::undo);
    connect(redo_, &QAction::triggered, this, &ChangeHistoryUi::redo);
    connect(&form, &TFormHlav::languageChanged, this, &ChangeHistoryUi::retranslate);
    updateActions();
    qApp->installEventFilter(this);
}

void ChangeHistoryUi::started()
{
    history_.reset(form_.Image);
    pending_ = {};
    started_ = true;
    updateActions();
}

void ChangeHistoryUi::record(const vorn::StepLabel &label)
{
    if (!started_)
        return;
    if (history_.record(form_.Image, label) && label.empty()) {
        // A command that changes the image in its own way names the step right after its
        // after-edit hook recorded it; that is still the same turn of the event loop.
        newestUnlabelled_ = true;
        QTimer::singleShot(0, this, [this] { newestUnlabelled_ = false; });
    }
    updateActions();
}

void ChangeHistoryUi::afterEdit()
{
    const vorn::StepLabel label = pending_;
    pending_ = {};
    if (applying_) {
        history_.record(form_.Image);   // only the clamp of an undone state, never a step
        return;
    }
    record(label);
}

void ChangeHistoryUi::noteImageChange(const QString &what)
{
    const vorn::StepLabel label = vorn::StepLabel::named(what);
    if (started_ && !vorn::settingsDiffer(history_.recorded(), form_.Image)) {
        if (!what.isEmpty() && newestUnlabelled_ && history_.labelNewest(label))
            updateActions();
        newestUnlabelled_ = false;
        return;
    }
    record(label);
}

void ChangeHistoryUi::readStarted()
{
    readPending_ = true;
}

void ChangeHistoryUi::linkEventsApplied(const vorn::LinkEvents &)
{
    // Blocks 1 and 2 of a Read arrive on different ticks; the Read is one step once the
    // session stops reading (verifying, failed or refused).
    if (!started_ || form_.Session.mode() == vorn::ModeRead)
        return;
    if (vorn::settingsDiffer(history_.recorded(), form_.Image)) {
        vorn::StepLabel label;
        if (readPending_)
            label.text = &vorn::htext::StepRead;
        record(label);
    }
    if (form_.Session.mode() != vorn::ModeRead)
        readPending_ = false;
}

void ChangeHistoryUi::step(bool back)
{
    if (!started_)
        return;
    if (back ? history_.canUndo() : history_.canRedo()) {
        form_.Image = back ? history_.undo(form_.Image) : history_.redo(form_.Image);
        applying_ = true;
        form_.AfterEdit();   // clamp, show (which drops typing not yet committed), program after change
        applying_ = false;
    } else {
        form_.ShowParameters();   // still drops what was typed into the focused field
    }
    updateActions();
}

void ChangeHistoryUi::undo()
{
    step(true);
}

void ChangeHistoryUi::redo()
{
    step(false);
}

bool ChangeHistoryUi::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    // A line edit has its own undo for these keys; inside the window's fields they undo
    // the image instead.
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || edit->window() != &form_)
        return false;
    const int key = historyKey(static_cast<QKeyEvent *>(event));
    if (key == 0)
        return false;
    if (type == QEvent::ShortcutOverride) {
        event->accept();   // deliver it as a key press to the field, where it is handled below
        return true;
    }
    step(key < 0);
    return true;
}

void ChangeHistoryUi::updateActions()
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

void ChangeHistoryUi::retranslate(int language)
{
    language_ = language;
    edit_->setTitle(vorn::text4(vorn::htext::MenuEdit, language));
    updateActions();
}
