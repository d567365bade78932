// The window side of undo and redo.
#include "ChangeHistoryUi.h"

#include "app/Hlav.h"
#include "history/HistoryTexts.h"
#include "link/Monitor.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
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
    edit_->addSeparator();
    compare_ = edit_->addMenu(QStringLiteral("&Compare with"));
    compare_->setObjectName(QStringLiteral("MenuCompare"));
    compare_->menuAction()->setObjectName(QStringLiteral("MenuCompare"));
    compareUnit_ = compare_->addAction(QStringLiteral("the unit"));
    compareUnit_->setObjectName(QStringLiteral("MenuCompareUnit"));
    compareFile_ = compare_->addAction(QStringLiteral("a file..."));
    compareFile_->setObjectName(QStringLiteral("MenuCompareFile"));
    comparePoint_ = compare_->addAction(QStringLiteral("a restore point..."));
    comparePoint_->setObjectName(QStringLiteral("MenuComparePoint"));
    connect(compareUnit_, &QAction::triggered, this, &ChangeHistoryUi::compareWithUnit);
    connect(compareFile_, &QAction::triggered, this, &ChangeHistoryUi::compareWithFileChosen);
    connect(comparePoint_, &QAction::triggered, this, &ChangeHistoryUi::openRestorePoints);

    // File, "Restore points..." after the print items, before the separator of Exit.
    if (auto *file = form.findChild<QMenu *>(QStringLiteral("MenuFile"))) {
        const auto items = file->actions();
        QAction *before = items.size() >= 2 ? items[items.size() - 2] : nullptr;
        restorePoints_ = new QAction(QStringLiteral("Restore points..."), file);
        restorePoints_->setObjectName(QStringLiteral("MenuRestorePoints"));
        file->insertAction(before, restorePoints_);
        connect(restorePoints_, &QAction::triggered, this, &ChangeHistoryUi::openRestorePoints);
    }
    connect(&form, &TFormHlav::languageChanged, this, &ChangeHistoryUi::retranslate);
    connect(&form, &TFormHlav::portReconnected, this, [this] {
        tracker_.unitForgotten();
        verifyOffer_.reset();
        updateStatus();
    });
    pool_.setMaxThreadCount(1);   // points are written in the order they were taken

    unitPart_ = new StatusPart(form.statusBar());
    unitPart_->setObjectName(QStringLiteral("StatusUnit"));
    filePart_ = new StatusPart(form.statusBar());
    filePart_->setObjectName(QStringLiteral("StatusFile"));
    for (QLabel *part : {unitPart_, filePart_}) {
        part->setFrameShape(QFrame::StyledPanel);
        part->setContentsMargins(4, 0, 4, 0);
        form.statusBar()->addPermanentWidget(part);
        part->setCursor(Qt::PointingHandCursor);
    }
    connect(unitPart_, &StatusPart::clicked, this, &ChangeHistoryUi::unitPartClicked);
    connect(filePart_, &StatusPart::clicked, this, [this] {
        if (tracker_.fileOrigin() != vorn::ChangeTracker::FileOrigin::None)
            compareWithFile(tracker_.filePath());
    });
    updateActions();
    qApp->installEventFilter(this);
}

void ChangeHistoryUi::started()
{
    history_.reset(form_.Image);
    pending_ = {};
    started_ = true;
    fileAtStart();
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
    writePoint(vorn::RestoreEvent::BeforeRead, form_.Image);
    readPending_ = true;
    fileForgotten();
}

void ChangeHistoryUi::linkEventsApplied(const vorn::LinkEvents &events)
{
    using vorn::LinkEvent;
    for (const LinkEvent &e : events) {
        if (e.kind == LinkEvent::ShowStatus) {
            if (e.style == LinkEvent::Progress) {
                verifyOffer_.reset();   // the unit is being read or written again
                // Begin Verify of a Read or Program shows "Verify:" too: still that operation.
                if (e.message == vorn::Msg::Read) {
                    op_ = Operation::Read;
                } else if (e.message == vorn::Msg::ProgramDevice) {
                    op_ = Operation::Program;
                    tracker_.programStarted();
                } else if (e.message == vorn::Msg::Verify && op_ == Operation::None) {
                    op_ = Operation::Verify;
                }
            } else {
                if (e.style == LinkEvent::Error && e.message == vorn::Msg::VerifyError)
                    offerVerifyReplies();
                operationEnded(e.style == LinkEvent::Success);
            }
        } else if (e.kind == LinkEvent::VersionMismatch) {
            op_ = Operation::None;
        } else if (e.kind == LinkEvent::MonitorFrame && vorn::frameIsValid(e.frame)) {
            const auto before = tracker_.unitState(form_.Image);
            tracker_.programCountSeen(vorn::parseMonitorFrame(e.frame).programCount);
            if (before != vorn::ChangeTracker::Unit::Changed
                && tracker_.unitState(form_.Image) == vorn::ChangeTracker::Unit::Changed)
                verifyOffer_.reset();   // someone else wrote to the unit since
        }
    }
    // Blocks 1 and 2 of a Read arrive on different ticks; the Read is one step once the
    // session stops reading (verifying, failed or refused).
    if (started_ && form_.Session.mode() != vorn::ModeRead) {
        if (vorn::settingsDiffer(history_.recorded(), form_.Image)) {
            vorn::StepLabel label;
            if (readPending_)
                label.text = &vorn::htext::StepRead;
            record(label);
        }
        readPending_ = false;
    }
    updateStatus();
}

void ChangeHistoryUi::operationEnded(bool ok)
{
    if (ok && op_ != Operation::None) {
        tracker_.unitMatched(form_.Image);
        if (op_ != Operation::Verify) {
            const auto &id = form_.Identification;
            const QString unit = QStringList{id.version, id.date.trimmed(), id.time}.join(' ').trimmed();
            writePoint(op_ == Operation::Read ? vorn::RestoreEvent::Read : vorn::RestoreEvent::Programmed,
                       form_.Image, unit);
        }
    }
    op_ = Operation::None;
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
    updateStatus();
}

void ChangeHistoryUi::retranslate(int language)
{
    using namespace vorn;
    language_ = language;
    edit_->setTitle(text4(htext::MenuEdit, language));
    compare_->setTitle(text4(htext::Compare, language));
    compareUnit_->setText(text4(htext::CompareWithUnit, language));
    compareFile_->setText(text4(htext::CompareWithFile, language));
    comparePoint_->setText(text4(htext::CompareWithPoint, language));
    if (restorePoints_)
        restorePoints_->setText(text4(htext::RestorePoints, language));
    updateActions();
}
