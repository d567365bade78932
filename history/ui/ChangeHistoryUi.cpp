// The history's parts, made and wired together.
#include "ChangeHistoryUi.h"

#include "ChangeTrackingUi.h"
#include "CompareUi.h"
#include "HistoryFeature.h"
#include "RestorePointsUi.h"
#include "UndoUi.h"

ChangeHistoryUi::ChangeHistoryUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing,
                                 vorn::host::LiveView &live, vorn::host::Link &link,
                                 vorn::host::HostNotifier &notifier, QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("ChangeHistory"));
    // The Edit menu's history place gets Undo and Redo before Compare.
    undo_ = std::make_unique<UndoUi>(shell, editing, live, link, notifier, this);
    tracking_ = std::make_unique<ChangeTrackingUi>(shell, editing, link, notifier, this);
    compare_ = std::make_unique<CompareUi>(shell, editing, live, link, notifier, *tracking_, this);
    points_ = std::make_unique<RestorePointsUi>(shell, editing, notifier, *tracking_, *compare_, this);
    connect(tracking_.get(), &ChangeTrackingUi::verifyRepliesWanted, compare_.get(), &CompareUi::showVerifyReplies);
    connect(tracking_.get(), &ChangeTrackingUi::unitComparisonWanted, compare_.get(), &CompareUi::compareWithUnit);
    connect(tracking_.get(), &ChangeTrackingUi::fileComparisonWanted, compare_.get(), &CompareUi::compareWithFile);
}

// Children of this object (so the window finds their actions by name), but gone in the
// reverse order of their making rather than QObject's order.
ChangeHistoryUi::~ChangeHistoryUi()
{
    points_.reset();
    compare_.reset();
    tracking_.reset();
    undo_.reset();
}

QObject *vorn::history::makeHistoryFeature(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live,
                                           host::Link &link, host::HostNotifier &notifier, QObject *parent)
{
    return new ChangeHistoryUi(shell, editing, live, link, notifier, parent);
}
