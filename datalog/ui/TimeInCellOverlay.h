// Time in cell drawn over a group of edits: a bar along each cell's bottom edge, as long
// as the cell's time against the busiest cell, and the cell's share of all time as a small
// number in its top-left corner. Painted on a transparent layer above the edits, so the
// values, the cell colours and the live highlight stay as they are.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class TimeInCellOverlay : public QWidget {
    Q_OBJECT
public:
    struct Cell {
        QWidget *edit = nullptr;
        double share = 0;      // of all counted time, 0..1
        double relative = 0;   // against the busiest cell, 0..1
    };
    // `cells` is asked on every paint; the layer follows the size of `host`.
    TimeInCellOverlay(QWidget *host, std::function<std::vector<Cell>()> cells);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<std::vector<Cell>()> cells_;
};
