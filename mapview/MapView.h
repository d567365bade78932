// The map view window: the advance map as a 3D surface and as curves per throttle row,
// the servo curve as a chart, each with the live cell's fading trail.
#pragma once

#include "maps/ui/MapViewApi.h"

#include <QVector3D>
#include <QWidget>

#include <deque>
#include <vector>

class QChart;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QTabWidget;
class QValueAxis;
class Q3DSurface;
class QSurface3DSeries;

class MapView : public QWidget, public vorn::maps::MapViewWindow {
    Q_OBJECT
    Q_PROPERTY(int trailLength READ trailLength)
public:
    MapView(const vorn::ParameterImage *image, const vorn::LiveCell *live, QWidget *parent);
    static constexpr int kTrail = 50;       // live positions kept
    static constexpr int kTrailShades = 5;  // the trail fades in this many steps
    int trailLength() const { return static_cast<int>(trail_.size()); }
    bool has3D() const { return surface_ != nullptr; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

public slots:
    void followEdits() override;
    void followLive() override;
    void setLanguage(int language) override;

public:
    QWidget *widget() override { return this; }

private:
    struct Position {
        vorn::LiveCell cell;
    };
    QWidget *buildSurfaceTab();
    QWidget *buildCurvesTab();
    QWidget *buildServoTab();
    void showTrail();

    const vorn::ParameterImage *image_;
    const vorn::LiveCell *live_;
    std::deque<Position> trail_;
    QTabWidget *tabs_ = nullptr;
    QLabel *no3D_ = nullptr;
    Q3DSurface *surface_ = nullptr;
    QSurface3DSeries *surfaceSeries_ = nullptr;
    // The trail on the surface: made once, moved in place, hidden when not in use.
    class QCustom3DItem *trailItems_[kTrail]{};
    QVector3D trailAt_[kTrail];
    bool trailShown_[kTrail]{};
    class QCategoryAxis *curvesRpm_ = nullptr;
    QValueAxis *curvesAdvance_ = nullptr;
    std::vector<int> curvesTicks_;   // the speed points the axes show
    class SpeedPointFormatter *surfaceSpeeds_ = nullptr;
    QChart *curves_ = nullptr;
    QLineSeries *rows_[vorn::kMapSize]{};
    QScatterSeries *curvesTrail_[kTrailShades]{};
    QChart *servo_ = nullptr;
    QLineSeries *servoLine_ = nullptr;
    class QCategoryAxis *servoRpm_ = nullptr;
    std::vector<int> servoTicks_;
    QScatterSeries *servoTrail_[kTrailShades]{};
    int language_ = 0;
};
