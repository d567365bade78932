// The log workbench window: graphs with two cursors, the scatter and the advance-map cell
// histogram of up to four logs, each reachable from its menus and keys.
#pragma once

#include "logview/LogViewApi.h"
#include "logview/Model.h"
#include "lang/Texts4.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QComboBox;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QMenu;
class QStackedWidget;
class QTableWidget;

namespace vorn::logview {

class PlotArea;
class ScatterView;
class HistogramView;

class WorkbenchWindow : public QMainWindow, public Workbench {
    Q_OBJECT
public:
    WorkbenchWindow(host::Shell &shell, PullStarts pullStarts, QWidget *parent);

    QWidget *widget() override { return this; }
    void setLanguage(int language) override;
    void askForLogIfEmpty() override;
    bool openLog(const QString &path) override;
    bool addLog(const QString &path) override;
    int logCount() const override { return static_cast<int>(model_.logs.size()); }
    void setLogOffset(int log, double seconds) override;
    double logOffset(int log) const override;
    bool alignByPullStart() override;
    void reloadMarkers() override;
    void setChannels(const QList<int> &channels) override;
    QList<int> channels() const override { return model_.channels; }
    void setView(double from, double to) override;
    double viewFrom() const override { return model_.from; }
    double viewTo() const override { return model_.to; }
    void setCursors(double a, double b) override;
    double cursor(int which) const override { return which == 0 ? model_.cursorA : model_.cursorB; }
    QList<QStringList> readout() const override;
    QString cursorSpan() const override;
    QWidget *plotView() override;
    int plotX(double time) const override;
    void showPage(int page) override;
    QWidget *histogramView() override;
    QRect histogramCell(int mapRow, int mapColumn) const override;
    QStringList histogramColumns() const override;
    bool exportPng(const QString &path) override;
    bool exportCsv(const QString &path) override;

    PlotArea *plotArea() const { return plot_; }

private:
    void buildMenus();
    void buildGraphsPage();
    void buildScatterPage();
    void buildHistogramPage();
    void retranslate();
    std::optional<ShownLog> readShownLog(const QString &path);
    void logsChanged();
    void refreshReadout();
    void refreshScatter();
    RowFilter rowFilter() const;
    void refreshHistogram();
    void cellChosen(int mapRow, int mapColumn);
    void chooseAndOpen(bool add);
    void chooseAndExport(bool png);
    void channelsPicked();
    void saveChannels();
    QString startFolder() const;

    host::Shell &shell_;
    PullStarts pullStarts_;
    Model model_;

    QStackedWidget *pages_ = nullptr;
    PlotArea *plot_ = nullptr;
    QListWidget *channelList_ = nullptr;
    QTableWidget *logTable_ = nullptr;
    QTableWidget *readout_ = nullptr;
    QLabel *span_ = nullptr;
    QLabel *channelsLabel_ = nullptr;
    QLabel *logsLabel_ = nullptr;

    ScatterView *scatter_ = nullptr;
    QComboBox *scatterLog_ = nullptr, *scatterX_ = nullptr, *scatterY_ = nullptr, *scatterColour_ = nullptr;
    QList<QLabel *> scatterLabels_;

    HistogramView *histogram_ = nullptr;
    QComboBox *histLog_ = nullptr, *histStat_ = nullptr, *histChannel_ = nullptr;
    QCheckBox *filterOn_ = nullptr;
    QComboBox *filterChannel_ = nullptr, *filterCompare_ = nullptr;
    QDoubleSpinBox *filterValue_ = nullptr;
    QLabel *histLogLabel_ = nullptr, *histShowLabel_ = nullptr, *histOfLabel_ = nullptr, *cellInfo_ = nullptr;
    int periodCell_ = -1;   // the cell whose periods the cursors step through
    int periodIndex_ = 0;

    // Menus and their items, with their texts for a language switch.
    QList<QPair<QMenu *, const Text4 *>> menus_;
    QList<QPair<QAction *, const Text4 *>> actions_;
    QAction *alignPull_ = nullptr;
    QAction *removeLog_ = nullptr;
    QString lastFolder_;
};

}  // namespace vorn::logview
