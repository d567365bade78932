// What the map tools and the map view module share. The module is loaded on first use (it
// brings Qt Charts and Qt Data Visualization), so it sees the window's state only through
// the plain pointers it is given, and the tools drive it only through this interface.
#pragma once

#include "link/LiveValues.h"
#include "params/ParameterImage.h"

class QWidget;

namespace vorn::maps {

// The map view window, seen from outside. It reads the image and the live cell it was made
// with (both outlive it) and draws nothing while it is closed.
class MapViewWindow {
public:
    virtual ~MapViewWindow() = default;

    virtual QWidget *widget() = 0;
    virtual void setLanguage(int language) = 0;
    // The image changed.
    virtual void followEdits() = 0;
    // A new live cell (the window keeps a trail of the last 50, its "trailLength" property).
    virtual void followLive() = 0;
};

}  // namespace vorn::maps

// The module's one entry point: a top-level map view window with `parent`.
#define VORN4_MAPVIEW_ENTRY "vorn4CreateMapView"
using Vorn4CreateMapView = vorn::maps::MapViewWindow *(*)(const vorn::ParameterImage *image,
                                                          const vorn::LiveCell *live, QWidget *parent);
