// The window side of undo and redo.
#include "ChangeHistoryUi.h"

#include "RestorePointsDialog.h"
#include "history/HistoryTexts.h"
#include "host/HostNotifier.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"
#include "host/StatusPart.h"
#include "link/Monitor.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
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

ChangeHistoryUi::ChangeHistoryUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing,
                                 vorn::host::LiveView &live, vorn::host::Link &link,
                                 vorn::host::HostNotifier &notifier, QObject *parent)
    : QObject(parent), shell_(shell), editing_(editing), live_(live), link_(link)
{
    using vorn::host::MenuPlace;
    setObjectName(QStringLiteral("ChangeHistory"));
    auto newAction = [this](const char *name) {
        auto *a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    undo_ = newAction("MenuUndo");
    undo_->setShortcut(QKeySequence(kUndoKey));
    redo_ = newAction("MenuRedo");
    redo_->setShortcuts({QKeySequence(kRedoKeys[0]), QKeySequence(kRedoKeys[1])});
    connect(undo_, &QAction::triggered, this, &ChangeHistoryUi::undo);
    connect(redo_, &QAction::triggered, this, &ChangeHistoryUi::redo);
    compare_ = new QMenu(shell.dialogParent());
    compare_->setObjectName(QStringLiteral("MenuCompare"));
    compare_->menuAction()->setObjectName(QStringLiteral("MenuCompare"));
    compareUnit_ = newAction("MenuCompareUnit");
    compareFile_ = newAction("MenuCompareFile");
    comparePoint_ = newAction("MenuComparePoint");
    compare_->addActions({compareUnit_, compareFile_, comparePoint_});
    connect(compareUnit_, &QAction::triggered, this, &ChangeHistoryUi::compareWithUnit);
    connect(compareFile_, &QAction::triggered, this, &ChangeHistoryUi::compareWithFileChosen);
    connect(comparePoint_, &QAction::triggered, this, &ChangeHistoryUi::openRestorePoints);
    shell.placeAction(MenuPlace::EditHistory, undo_);
    shell.placeAction(MenuPlace::EditHistory, redo_);
    shell.placeSeparator(MenuPlace::EditHistory);
    shell.placeMenu(MenuPlace::EditHistory, compare_);

    restorePoints_ = newAction("MenuRestorePoints");
    connect(restorePoints_, &QAction::triggered, this, &ChangeHistoryUi::openRestorePoints);
    shell.placeAction(MenuPlace::FileExtras, restorePoints_);

    connect(&notifier, &vorn::host::HostNotifier::languageChanged, this, &ChangeHistoryUi::retranslate);
    connect(&notifier, &vorn::host::HostNotifier::unitForgotten, this, &ChangeHistoryUi::unitForgotten);
    connect(&notifier, &vorn::host::HostNotifier::linkEventsApplied, this, &ChangeHistoryUi::linkEventsApplied);
    connect(&notifier, &vorn::host::HostNotifier::closing, this, &ChangeHistoryUi::closeWindows);
    pool_.setMaxThreadCount(1);   // points are written in the order they were taken

    unitPart_ = vorn::host::addStatusPart(shell, {.name = "StatusUnit", .receiver = this, .onClick = [this] { unitPartClicked(); }});
    filePart_ = vorn::host::addStatusPart(shell, {.name = "StatusFile", .receiver = this, .onClick = [this] {
        if (tracker_.fileOrigin() != vorn::ChangeTracker::FileOrigin::None)
            compareWithFile(tracker_.filePath());
    }});
    retranslate(shell.language());
    qApp->installEventFilter(this);
}

const vorn::ParameterImage &ChangeHistoryUi::image() const
{
    return editing_.image();
}

void ChangeHistoryUi::started()
{
    history_.reset(image());
    pending_ = {};
    started_ = true;
    fileAtStart();
    updateActions();
}

void ChangeHistoryUi::record(const vorn::StepLabel &label)
{
    if (!started_)
        return;
    if (history_.record(image(), label) && label.empty()) {
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
        history_.record(image());   // only the clamp of an undone state, never a step
        return;
    }
    record(label);
}

void ChangeHistoryUi::noteImageChange(const QString &what)
{
    const vorn::StepLabel label = vorn::StepLabel::named(what);
    if (started_ && !vorn::settingsDiffer(history_.recorded(), image())) {
        if (!what.isEmpty() && newestUnlabelled_ && history_.labelNewest(label))
            updateActions();
        newestUnlabelled_ = false;
        return;
    }
    record(label);
}

void ChangeHistoryUi::readStarted()
{
    writePoint(vorn::RestoreEvent::BeforeRead, image());
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
                if (notice_ != Notice::PointFailed)
                    setNotice(Notice::None);
                // Begin Verify of a Read or Program shows "Verify:" too: still that operation.
                if (e.message == vorn::Msg::Read) {
                    op_ = Operation::Read;
                } else if (e.message == vorn::Msg::ProgramDevice) {
                    // From the first block written on, the unit holds neither the old image
                    // nor (until Program ends OK) the new one.
                    if (op_ != Operation::Program)
                        tracker_.programStarted();
                    op_ = Operation::Program;
                } else if (e.message == vorn::Msg::Verify && op_ == Operation::None) {
                    op_ = Operation::Verify;
                }
            } else {
                const bool verifyError = e.style == LinkEvent::Error && e.message == vorn::Msg::VerifyError;
                if (verifyError)
                    offerVerifyReplies();
                operationEnded(e.style == LinkEvent::Success, verifyError);
            }
        } else if (e.kind == LinkEvent::VersionMismatch) {
            op_ = Operation::None;
        } else if (e.kind == LinkEvent::MonitorFrame && vorn::frameIsValid(e.frame)) {
            const auto before = tracker_.unitState(image());
            tracker_.programCountSeen(vorn::parseMonitorFrame(e.frame).programCount);
            if (before != vorn::ChangeTracker::Unit::Changed
                && tracker_.unitState(image()) == vorn::ChangeTracker::Unit::Changed)
                verifyOffer_.reset();   // someone else wrote to the unit since
        }
    }
    // Blocks 1 and 2 of a Read arrive on different ticks; the Read is one step once the
    // session stops reading (verifying, failed or refused).
    if (started_ && link_.session().mode() != vorn::ModeRead) {
        if (vorn::settingsDiffer(history_.recorded(), image())) {
            vorn::StepLabel label;
            if (readPending_)
                label.text = &vorn::htext::StepRead;
            record(label);
        }
        readPending_ = false;
    }
    updateStatus();
}

void ChangeHistoryUi::unitForgotten()
{
    tracker_.unitForgotten();
    verifyOffer_.reset();
    updateStatus();
}

namespace {
constexpr std::uint8_t kSettingsAndMapBlocks = (1u << 1) | (1u << 2);
}

void ChangeHistoryUi::operationEnded(bool ok, bool verifyError)
{
    if (op_ == Operation::None)
        return;
    if (ok) {
        tracker_.unitMatched(image());
        if (op_ != Operation::Verify) {
            const auto &id = link_.identification();
            const QString unit = QStringList{id.version, id.date.trimmed(), id.time}.join(' ').trimmed();
            writePoint(op_ == Operation::Read ? vorn::RestoreEvent::Read : vorn::RestoreEvent::Programmed,
                       image(), unit);
        }
    } else if (verifyError && verifyOffer_ && verifyOffer_->missingBlocks.empty()) {
        // The unit sent both blocks back: that is what it holds, whatever the window shows.
        tracker_.unitMatched(verifyOffer_->unit);
    } else if (op_ == Operation::Program && (link_.session().blocksWritten() & kSettingsAndMapBlocks)) {
        // The unit keeps its own identification in block 0; the other two may be new or old.
        tracker_.programLeftPartialImage();
    } else {
        // A transfer that failed leaves the unit unknown: part of it may be written or read.
        tracker_.unitUnknown();
    }
    op_ = Operation::None;
}

void ChangeHistoryUi::step(bool back)
{
    if (!started_)
        return;
    if (back ? history_.canUndo() : history_.canRedo()) {
        const vorn::ParameterImage state = back ? history_.undo(image()) : history_.redo(image());
        applying_ = true;
        editing_.restoreImage(state);   // clamp, show (dropping typing), program after change
        applying_ = false;
    } else {
        editing_.showImage();   // still drops what was typed into the focused field
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
    compare_->setTitle(text4(htext::Compare, language));
    compareUnit_->setText(text4(htext::CompareWithUnit, language));
    compareFile_->setText(text4(htext::CompareWithFile, language));
    comparePoint_->setText(text4(htext::CompareWithPoint, language));
    restorePoints_->setText(text4(htext::RestorePoints, language));
    if (pointsDialog_ && pointsDialog_->isVisible())
        pointsDialog_->fill(restorePointFolder(), image(), language);
    updateActions();
}
