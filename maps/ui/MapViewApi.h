// What the main window and the map view module share. The module is loaded on first use
// (it brings Qt Charts and Qt Data Visualization), so it sees the window's state only
// through these plain pointers and a few slots called by name.
#pragma once

#include "link/LiveValues.h"
#include "params/ParameterImage.h"

class QWidget;

// The module's one entry point: a top-level map view window reading the image and the
// live cell it is given (both outlive the window). The window answers the slots
// "followEdits()" (the image changed) and "followLive()" (a new live cell), and the
// property "trailLength" (live positions it shows, at most 50).
#define VORN4_MAPVIEW_ENTRY "vorn4CreateMapView"
using Vorn4CreateMapView = QWidget *(*)(const vorn::ParameterImage *image, const vorn::LiveCell *live,
                                        QWidget *parent);
