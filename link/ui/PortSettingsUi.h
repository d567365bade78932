// The port chooser in the window: the Com menu's "Port settings..." item and its dialog
// (made on first use), and the hint of the no-connection label when the chosen port leads
// nowhere while one USB adapter is plugged in. Made with the window.
#pragma once

#include "link/SerialDeviceCache.h"
#include "link/SerialDevices.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QTimer;
class PortSettingsDialog;
class TFormHlav;

class PortSettingsUi : public QObject {
    Q_OBJECT
public:
    explicit PortSettingsUi(TFormHlav &form);

    // The serial devices the system reports (vorn::listSerialDevices); tests put a list of
    // their own here.
    static std::function<std::vector<vorn::SerialDevice>()> deviceLister;
    static std::vector<vorn::SerialDevice> listDevices();
    // The devices as last listed; listed again only after a device came or went.
    vorn::SerialDeviceCache &devices();

    void openDialog();
    PortSettingsDialog *dialog() const { return dialog_; }
    // Stores `path` as the device of Com n and selects that port as its Com menu item does.
    bool choose(int n, const QString &path);

    // What the no-connection label tells now; empty when there is nothing to tell.
    QString hint() const { return hint_; }
    // While the label shows, the devices are looked at this often.
    static constexpr int kHintCheckMs = 1000;
    static constexpr int kFirstLookMs = 300;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyTexts(int language);
    void checkHint();
    void setHint(const QString &hint);

    TFormHlav &form_;
    QAction *item_ = nullptr;
    QLabel *label_ = nullptr;
    QTimer *hintTimer_ = nullptr;   // made when the label first shows
    PortSettingsDialog *dialog_ = nullptr;   // a child of the window
    QString hint_;
    std::unique_ptr<vorn::SerialDeviceCache> devices_;   // made on first need
};
