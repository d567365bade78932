// Undo and redo, change tracking, restore points and comparisons as the window offers them:
// one part for each, made and wired together here. It sees the window only through the host
// roles it is given and the notifier's notices.
#pragma once

#include "host/Roles.h"
#include <QObject>

#include <memory>

class ChangeTrackingUi;
class CompareUi;
class RestorePointsUi;
class UndoUi;

class ChangeHistoryUi : public QObject {
    Q_OBJECT
public:
    ChangeHistoryUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::LiveView &live,
                    vorn::host::Link &link, vorn::host::HostNotifier &notifier, QObject *parent = nullptr);
    ~ChangeHistoryUi() override;

    // The feature the window made (tests, pictures and benches look inside).
    static ChangeHistoryUi &of(QObject *feature) { return *qobject_cast<ChangeHistoryUi *>(feature); }

    UndoUi &undo() const { return *undo_; }
    ChangeTrackingUi &tracking() const { return *tracking_; }
    CompareUi &compare() const { return *compare_; }
    RestorePointsUi &restorePoints() const { return *points_; }

private:
    // Made in this order and gone in the reverse: the later parts use the earlier ones.
    std::unique_ptr<UndoUi> undo_;
    std::unique_ptr<ChangeTrackingUi> tracking_;
    std::unique_ptr<CompareUi> compare_;
    std::unique_ptr<RestorePointsUi> points_;
};
