// Com, "Port settings...": COM1..COM10 with the device each leads to, the serial devices the
// system reports, and choosing one of them (or a path typed in) for a Com number.
#pragma once

#include "files/ProfileIni.h"
#include "link/SerialDevices.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    using Lister = std::function<std::vector<vorn::SerialDevice>()>;
    // The settings as they stand, for the devices [PORTS] names.
    using Settings = std::function<vorn::ProfileIni()>;
    PortSettingsDialog(QWidget *parent, Lister lister, Settings settings);

    // Lists the ports and devices again; the selection stays where it was.
    void refresh();
    void applyTexts(int language);
    // Selects the row of Com n in the port list.
    void selectPort(int n);
    int selectedPort() const;   // 0 when none

    QTreeWidget *ports() const { return ports_; }
    QTreeWidget *devices() const { return devices_; }
    QLineEdit *pathEdit() const { return path_; }
    QPushButton *useButton() const { return use_; }

    // The person chose `path` for Com n.
    std::function<void(int n, const QString &path)> onChoose;

    // While the dialog is shown it looks at the devices this often, so a plugged-in adapter
    // appears without a click.
    static constexpr int kRefreshMs = 1000;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void deviceSelected();
    void updateButton();

    Lister lister_;
    Settings settings_;
    int language_ = 0;
    QLabel *intro_;
    QLabel *portsTitle_;
    QLabel *devicesTitle_;
    QLabel *pathLabel_;
    QTreeWidget *ports_;
    QTreeWidget *devices_;
    QLineEdit *path_;
    QPushButton *use_;
    QPushButton *close_;
    QTimer *refreshTimer_;
};
