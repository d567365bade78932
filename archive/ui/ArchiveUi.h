// The workshop archive as the window offers it: every Read, Program, Verify and Compare
// with the unit recorded (off the window's thread), the status-bar parts that name the tune
// the unit holds and say when the archive waits for its server, and File, "Archive...".
// It sees the window only through the host roles it is given.
#pragma once

#include "host/Roles.h"
#include "archive/ArchiveConfig.h"
#include "archive/ArchiveRecords.h"
#include "host/HostNotifier.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class ArchiveWindow;
class CompareView;

namespace vorn {
class ArchiveService;
}

class ArchiveUi : public QObject {
    Q_OBJECT
public:
    // `config` stands in for the bench's settings ([ARCHIVE] of vorn4.ini and archive.sqlite
    // in the settings folder), which are read on first use otherwise.
    ArchiveUi(vorn::host::Shell &shell, vorn::host::ImageEditing &editing, vorn::host::Link &link,
              vorn::host::HostNotifier &notifier, std::optional<vorn::ArchiveConfig> config = std::nullopt,
              QObject *parent = nullptr);
    ~ArchiveUi() override;

    // The archive, made on first use; nullptr when the settings name no usable archive
    // (said once in the status bar).
    vorn::ArchiveService *service();
    // File, "Archive...": the window, made on first use.
    void openWindow();
    ArchiveWindow *window() const;
    // The tune's blocks 1 and 2 into the window as one undo step; it is then the tune the
    // edits are made from.
    void openTune(const QString &hash);
    // The first tune (the window's image when empty) against the second, by parameter.
    void compareTunes(const QString &first, const QString &second);
    CompareView *compareView() const;

    QLabel *tunePart() const { return tunePart_; }
    QLabel *serverPart() const { return serverPart_; }
    QAction *menuAction() const { return menu_; }

private:
    void transferFinished(vorn::host::HostNotifier::Transfer kind, bool ok, vorn::Msg message,
                          const vorn::ParameterImage &image);
    void showStatus();
    void showState();
    void retranslate(int language);
    void closeWindows();

    vorn::host::Shell &shell_;
    vorn::host::ImageEditing &editing_;
    vorn::host::Link &link_;
    std::optional<vorn::ArchiveConfig> config_;
    bool configTried_ = false;
    std::unique_ptr<vorn::ArchiveService> service_;
    QPointer<ArchiveWindow> window_;
    QPointer<CompareView> compareView_;
    QAction *menu_ = nullptr;
    QLabel *tunePart_ = nullptr;
    QLabel *serverPart_ = nullptr;
    int language_ = 0;
    // The tune the window's edits are made from: the last one read, programmed, verified,
    // opened or restored.
    std::optional<vorn::ParameterImage> base_;
    std::optional<int> programCount_;   // from the unit's live values, while it stays the same unit
    std::optional<vorn::TuneStatus> status_;   // of the tune the last Read found
    QString failure_;                          // the archive's last failure, until it works again
    int lookUpSerial_ = 0;
};
