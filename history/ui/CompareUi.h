// Edit, Compare: the window's image with the unit, a file or a restore point, shown in the
// comparison window (a window of its own beside the main window). The unit is read into a
// buffer of its own, over the port the window lends for that session.
#pragma once

#include "host/Roles.h"
#include "history/Comparison.h"
#include "link/Session.h"

#include <QObject>
#include <QPointer>

#include <memory>

class ChangeTrackingUi;
class CompareView;
class QAction;
class QMenu;
class QTimer;

class CompareUi : public QObject {
    Q_OBJECT
public:
    CompareUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::LiveView &live,
              vorn::host::Link &link, vorn::host::HostNotifier &notifier, ChangeTrackingUi &tracking,
              QObject *parent = nullptr);
    ~CompareUi() override;

    void compareWithUnit();
    void compareWithFile(const QString &path);
    void compareWithFileChosen();
    bool comparingWithUnit() const { return session_ != nullptr; }
    // After "Verify error!": what the unit did send beside the window's image.
    void showVerifyReplies();
    void showComparison(const vorn::ParameterImage &other, const vorn::ByteMask &mask, const QString &title,
                        const QString &note = QString());
    CompareView *compareView() const;
    // The menu's third item; the restore points list answers it.
    QAction *pointAction() const { return point_; }

private:
    void tick();
    void done(bool ok);
    void stopSession();

    vorn::host::Shell &shell_;
    vorn::host::ImageEditing &editing_;
    vorn::host::LiveView &live_;
    vorn::host::Link &link_;
    vorn::host::HostNotifier &notifier_;
    ChangeTrackingUi &tracking_;
    QPointer<CompareView> view_;
    QMenu *menu_ = nullptr;
    QAction *unit_ = nullptr, *file_ = nullptr, *point_ = nullptr;
    vorn::ParameterImage unitImage_;
    std::unique_ptr<vorn::DeviceSession> session_;
    QTimer *timer_ = nullptr;
    int language_ = 0;
};
