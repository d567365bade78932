// The port chooser: the Com menu's "Port settings..." item and its dialog (made on first
// use), and a status-bar hint while the unit does not answer because the chosen port
// leads nowhere while one USB adapter is plugged in. Made with the window; it sees the
// window only through the host roles it is given.
#pragma once

#include "host/Roles.h"
#include "link/SerialDeviceCache.h"
#include "link/SerialDevices.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QTimer;
class PortSettingsDialog;

class PortSettingsUi : public QObject {
    Q_OBJECT
public:
    // Lists the serial devices the system reports; tests give a list of their own.
    using Lister = std::function<std::vector<vorn::SerialDevice>()>;
    PortSettingsUi(vorn::host::Shell &shell, vorn::host::Link &link, vorn::host::HostNotifier &notifier,
                   Lister lister = &PortSettingsUi::systemDevices);
    // The devices the system reports (vorn::listSerialDevices).
    static std::vector<vorn::SerialDevice> systemDevices();
    ~PortSettingsUi() override;

    // The devices as last listed; listed again only after a device came or went.
    vorn::SerialDeviceCache &devices();

    void openDialog();
    PortSettingsDialog *dialog() const;
    // Stores `path` as the device of Com n and selects that port as its Com menu item does.
    bool choose(int n, const QString &path);

    // The way to a connection while the unit does not answer and the chosen port leads
    // nowhere; empty when there is nothing to tell. Shown in a status-bar part of its own.
    QString hint() const { return hint_; }
    QLabel *hintPart() const { return hintPart_; }
    // While the label shows, the devices are looked at this often.
    static constexpr int kHintCheckMs = 1000;
    static constexpr int kFirstLookMs = 300;

private:
    void applyTexts(int language);
    void noConnectionChanged(bool shown);
    void checkHint();
    void setHint(const QString &hint, const QString &partText);

    vorn::host::Shell &shell_;
    vorn::host::Link &link_;
    Lister lister_;
    QAction *item_ = nullptr;
    QPointer<QLabel> hintPart_;   // in the status bar
    QTimer *hintTimer_ = nullptr;   // made when the label first shows
    QPointer<PortSettingsDialog> dialog_;   // parented to the window
    QString hint_;
    std::unique_ptr<vorn::SerialDeviceCache> devices_;   // made on first need
};
