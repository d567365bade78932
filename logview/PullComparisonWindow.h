// The pull comparison window: the logs, the pulls found in them with the tune each ran on,
// relative torque and power against speed for the pulls ticked, their difference per band
// and the parameters that differ between their tunes.
#pragma once

#include "logview/LogViewApi.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;

class QChart;
class QChartView;

namespace vorn::logview {

class PullComparisonWindow : public QWidget, public PullComparison {
    Q_OBJECT
public:
    PullComparisonWindow(host::Shell &shell, ComparePulls compare, QWidget *parent);

    QWidget *widget() override { return this; }
    void setLanguage(int language) override;
    void askForLogIfEmpty() override;
    bool addLog(const QString &path) override;
    int addLogs(const QStringList &paths) override;
    QStringList logs() const override { return logs_; }
    void choosePulls(const std::vector<int> &pulls) override;
    void setAverage(bool average) override;
    const PullReport &report() const override { return report_; }
    QList<QPair<QString, QList<QPointF>>> chartLines(int chart) const override;
    QList<QColor> lineColours(int chart) const override;
    QStringList legend() const override;

private:
    void chooseAndAdd();
    // Takes a log's pulls into the list without showing them; false when it cannot be read,
    // with the reason added to `unreadable`.
    bool takeLog(const QString &path, QStringList &unreadable);
    void removeLog();
    // Reads the logs again and shows what they hold for the pulls chosen.
    void refresh();
    void showReport();
    void retranslate();

    host::Shell &shell_;
    ComparePulls compare_;
    int language_ = 0;
    QStringList logs_;
    std::optional<std::vector<int>> chosen_;   // all pulls when nothing was chosen
    bool average_ = false;
    PullReport report_;
    int pullCount_ = 0;   // pulls of the logs taken, shown or not yet
    bool filling_ = false;

    QLabel *logsLabel_, *pullsLabel_, *summary_, *bandsNote_, *tunesNote_, *legend_;
    QListWidget *logList_;
    QPushButton *add_, *remove_, *close_;
    QTableWidget *pullTable_, *bandTable_, *tuneTable_;
    QCheckBox *averageBox_;
    QTabWidget *tabs_;
    QChart *charts_[2];
    QChartView *chartViews_[2];
};

}  // namespace vorn::logview
