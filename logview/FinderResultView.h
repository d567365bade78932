// The advance finder's result: torque against advance for every cell the pulls reached,
// with the fit, the proposal and the base map's advance, and the proposal beside the base
// map cell by cell.
#pragma once

#include "finder/AdvanceFinder.h"

#include <QWidget>

class QGridLayout;
class QLabel;
class QTabWidget;
class QTableWidget;

namespace vorn::logview {

class FinderResultView : public QWidget {
    Q_OBJECT
public:
    explicit FinderResultView(QWidget *parent);

    void showAnalysis(const finder::Analysis &analysis, int language);
    void clear();
    void setLanguage(int language);

private:
    void fill();
    QWidget *chartOf(const finder::CellResult &cell);
    QString noteOf(const finder::CellResult &cell) const;

    int language_ = 0;
    std::optional<finder::Analysis> analysis_;
    QTabWidget *tabs_;
    QLabel *summary_, *legend_;
    QWidget *chartPage_;
    QGridLayout *chartGrid_;
    QTableWidget *table_;
};

}  // namespace vorn::logview
