// The stacked graphs: one plot per channel, every shown log drawn in its colour on one time
// axis, the markers and the two cursors across all plots. Drawn with QPainter from points
// decimated per pixel column, so a pan or zoom costs the pixels, not the log's length.
#pragma once

#include "logview/Model.h"

#include <QWidget>

#include <functional>

namespace vorn::logview {

// Paints a view as it renders itself (also into an exported picture), with the dotted frame
// that shows which of the workbench's views has the keyboard.
void paintRendered(QWidget &view, const std::function<void(QPainter &, const QSize &)> &render);

class PlotArea : public QWidget {
    Q_OBJECT
public:
    explicit PlotArea(Model &model, QWidget *parent = nullptr);

    // The plots' left and right edges in pixels, and the time at a pixel column.
    int plotLeft() const { return kLeft; }
    int plotRight() const { return width() - kRight; }
    double timeAtX(double x) const;
    double xAtTime(double t) const;

    void zoom(double factor, double aroundTime);
    void pan(double fractionOfView);
    void showWhole();
    void zoomToCursors();
    // Moves a cursor (0 A, 1 B) by whole rows of the first log.
    void stepCursor(int which, int rows);
    void setView(double from, double to);

    // Draws everything into the painter (also used to export a picture).
    void render(QPainter &p, const QSize &size) const;

signals:
    void viewChanged();
    void cursorsChanged();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    static constexpr int kLeft = 60, kRight = 10, kTop = 4, kAxis = 22;
    void setCursorAt(int which, double x);

    Model &model_;
    QPoint pressAt_;
    double pressFrom_ = 0, pressTo_ = 0;
    bool dragging_ = false;
};

}  // namespace vorn::logview
