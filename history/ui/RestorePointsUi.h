// Restore points in the window: one written before every change a user cannot take back
// with Undo alone (New, Open, a model change, a Read) and after every Read or Program that
// ended OK, File "Restore points..." and its list (a window of its own beside the main window).
#pragma once

#include "host/Roles.h"
#include "history/RestorePoints.h"
#include "host/HostNotifier.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <memory>

class ChangeTrackingUi;
class CompareUi;
class RestorePointsDialog;
class QAction;

class RestorePointsUi : public QObject {
    Q_OBJECT
public:
    RestorePointsUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::HostNotifier &notifier,
                    ChangeTrackingUi &tracking, CompareUi &compare, QObject *parent = nullptr);
    ~RestorePointsUi() override;

    // Points are written off the window's thread, in the order they were taken.
    void write(vorn::RestoreEvent event, const vorn::ParameterImage &image, const QString &unit = QString());
    // Waits for the points under way, and hears how they went.
    void waitForRestorePoints();
    QString restorePointFolder() const;
    void openRestorePoints();
    void restoreFrom(const QString &path);
    void showDifferencesTo(const QString &path);
    RestorePointsDialog *restorePointsDialog() const;

private:
    vorn::host::Shell &shell_;
    vorn::host::ImageEditing &editing_;
    vorn::host::HostNotifier &notifier_;
    ChangeTrackingUi &tracking_;
    CompareUi &compare_;
    QThreadPool pool_;
    std::shared_ptr<vorn::RestorePointStore> store_;
    QPointer<RestorePointsDialog> dialog_;
    QAction *open_ = nullptr;
    bool started_ = false;
    int language_ = 0;
};
