// The advance finder seen from the main window: Tools, "Advance finder..." loads the log
// module on first use and opens the finder's window there; this part hands it the live rows,
// the ends of its Programs and the window's image through the host roles. Nothing of the
// finder is made before the item is first chosen.
#pragma once

#include "host/Roles.h"
#include "logview/AdvanceFinderApi.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>

class QAction;

namespace vorn::logview {

class AdvanceFinderUi : public QObject, private FinderHost {
    Q_OBJECT
public:
    // `clockMs` gives the time of a live row in ms (a steady clock unless a test sets it).
    AdvanceFinderUi(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live, host::Link &link,
                    host::HostNotifier &notifier, QStringList moduleDirs, std::function<std::int64_t()> clockMs = {});
    ~AdvanceFinderUi() override;

    // Opens the finder (loading the module the first time); nullptr when the module is missing.
    AdvanceFinder *open();
    AdvanceFinder *finder() const { return finder_; }
    QAction *action() const { return action_; }

private:
    // FinderHost
    const ParameterImage &image() const override;
    bool program(const ParameterImage &image) override;
    void showImage(const ParameterImage &image) override;
    void applyProposal(int row, const std::vector<std::optional<int>> &advance) override;
    QString chooseParameterFile() override;

    void applyTexts(int language);
    void onLiveValues();

    host::Shell &shell_;
    host::ImageEditing &editing_;
    host::LiveView &live_;
    host::Link &link_;
    QStringList moduleDirs_;
    std::function<std::int64_t()> clockMs_;
    QAction *action_ = nullptr;
    AdvanceFinder *finder_ = nullptr;
    QPointer<QWidget> window_;
    bool programming_ = false;   // a Program the finder asked for is under way
    int language_ = 0;
};

}  // namespace vorn::logview
