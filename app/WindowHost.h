// The window as the host of its features: the shell (boxes through the modal guard, menus at
// named places, status-bar parts, settings), image editing, the live view with replay, and
// the link. Features see only these roles; this object answers them from the window's
// members, so the window itself stays its handlers and its state.
#pragma once

#include "host/CellEvents.h"
#include "host/ImageEditing.h"
#include "host/Link.h"
#include "host/LiveView.h"
#include "host/Shell.h"

#include <memory>

class TFormHlav;

namespace vorn::host {
class MenuPlaces;
}

class WindowHost final : public vorn::host::Shell,
                         public vorn::host::ImageEditing,
                         public vorn::host::LiveView,
                         public vorn::host::Link {
public:
    explicit WindowHost(TFormHlav &window);
    ~WindowHost() override;

    // The map cells exist once the control table is filled; from then on their events go
    // through the one dispatcher.
    void watchCells();

    // Shell
    QWidget *dialogParent() const override;
    int language() const override;
    QString messageText(vorn::Msg message) const override;
    void message(const QString &text, const QString &title = QString()) override;
    void messageOver(QWidget *owner, const QString &text, const QString &title = QString()) override;
    int question(const QString &text, const QString &title = QString()) override;
    QString chooseFile(QFileDialog *dialog) override;
    std::optional<int> askNumber(const QString &title, const QString &label, int initial, int min,
                                 int max) override;
    int runDialog(QDialog *dialog) override;
    bool openDocument(const QString &path) override;
    bool closing() const override;
    void placeWindow(QWidget *window) override;
    void showHint(const QString &text) override;
    void addStatusPart(QWidget *part) override;
    void placeAction(vorn::host::MenuPlace place, QAction *action) override;
    void openMenu(const vorn::host::MenuSpec &menu) override;
    vorn::SettingsAccess &settings() override;

    // ImageEditing
    const vorn::ParameterImage &image() const override;
    void commitTyping() override;
    void applyEdit(const vorn::ParameterImage &edited, const vorn::StepLabel &label) override;
    void restoreImage(const vorn::ParameterImage &image) override;
    void showImage() override;
    QString currentFile() const override;
    QString chooseParameterFile() override;

    // LiveView
    const vorn::LiveValues &live() const override;
    const vorn::LiveCell &liveCell() const override;
    const vorn::MonitorFields &liveFields() const override;
    bool throttleMapOn() const override;
    bool printing() const override;
    QWidget *cellEdit(vorn::maps::Table table, vorn::maps::Cell cell) const override;
    QWidget *cellArea(vorn::maps::Table table) const override;
    std::optional<vorn::maps::Table> shownTable() const override;
    bool rowShown(int row) const override;
    void setCellColours(CellColours colours) override;
    void repaintCells() override;
    vorn::host::CellEvents &cellEvents() override { return cellEvents_; }
    bool replaying() const override;
    void beginReplay() override;
    void showReplayed(const vorn::MonitorFields &fields, const vorn::LiveCell &cell) override;
    void endReplay() override;

    // Link
    vorn::PortIo *port() const override;
    const vorn::DeviceSession &session() const override;
    const vorn::UnitIdentification &identification() const override;
    int comPort() const override;
    void selectPort(int n) override;
    bool lendPort() override;
    void returnPort() override;
    bool program(const vorn::ParameterImage &image) override;
    bool noConnectionShown() const override;

private:
    vorn::host::MenuPlaces &places();

    TFormHlav &w_;
    vorn::host::CellEvents cellEvents_;
    std::unique_ptr<vorn::host::MenuPlaces> places_;   // declared when the first item comes
    // What a replay covers, given back when it ends.
    struct ReplaySnapshot;
    std::unique_ptr<ReplaySnapshot> replaySnapshot_;
};
