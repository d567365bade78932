// The scatter of one channel against another, coloured by a third, and the histogram on the
// advance map's own 10 x 10 cells. Both draw one chosen log of the workbench.
#pragma once

#include "logview/Model.h"

#include <QWidget>

#include <optional>

namespace vorn::logview {

// Blue (low) through green and yellow to red (high), for 0..1.
QColor rampColour(double share);

class ScatterView : public QWidget {
    Q_OBJECT
public:
    explicit ScatterView(const Model &model, QWidget *parent = nullptr);
    void setChoice(int log, int xChannel, int yChannel, int colourChannel);
    void render(QPainter &p, const QSize &size) const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    const Model &model_;
    int log_ = 0, x_ = ChRpm, y_ = ChAdvance1, colour_ = ChThrottlePercent;
};

class HistogramView : public QWidget {
    Q_OBJECT
public:
    // What a cell shows.
    enum Stat { Seconds, Samples, Minimum, Maximum, Mean };

    explicit HistogramView(const Model &model, QWidget *parent = nullptr);
    void setHistogram(const CellHistogram &h, Stat stat, int channel);
    // Where a cell is drawn (row 0, the closed throttle, at the top as on the map page).
    QRect cellRect(int mapRow, int mapColumn) const;
    void render(QPainter &p, const QSize &size) const;
    // The throttle caption of a map row, as on the map page.
    static QString rowCaption(int mapRow);
    // The speeds of the map the log ran on, nothing when it keeps no tune (columns numbered).
    void setColumnSpeeds(const std::optional<MapSpeeds> &speeds);
    // A column's caption ("6000", or "4" without speeds) and its name in a sentence.
    QString columnCaption(int mapColumn) const;
    QString columnText(int mapColumn) const;
    int selectedRow() const { return row_; }
    int selectedColumn() const { return column_; }

signals:
    void cellChosen(int mapRow, int mapColumn);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    QRect cellRect(int mapRow, int mapColumn, const QSize &size) const;
    double valueOf(const CellStats &c) const;

    const Model &model_;
    CellHistogram histogram_;
    std::optional<MapSpeeds> speeds_;
    Stat stat_ = Seconds;
    int channel_ = ChRpm;
    int row_ = 9, column_ = 0;
};

}  // namespace vorn::logview
