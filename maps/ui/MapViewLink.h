// The map tools' side of the map view module: loads it on first use, keeps its window and
// tells it of edits and new live cells while it is open.
#pragma once

#include "host/Roles.h"
#include "maps/ui/MapViewApi.h"

#include <QPointer>

class QWidget;

namespace vorn::maps {

class MapViewLink {
public:
    MapViewLink(host::Shell &shell, const host::ImageEditing &editing, const host::LiveView &live);

    // The window, made on the first call; nullptr when the module is missing (then a box
    // says so).
    QWidget *open();
    QWidget *window() const { return window_.data(); }

    void setLanguage(int language);
    // The view draws nothing while it is closed; it catches up when it shows again.
    void followLive();
    void followEdits();

private:
    bool shown() const { return view_ && window_ && window_->isVisible(); }

    host::Shell &shell_;
    const host::ImageEditing &editing_;
    const host::LiveView &live_;
    MapViewWindow *view_ = nullptr;
    QPointer<QWidget> window_;   // the view's window, which the host's window parents
    ParameterImage shows_;       // the image the view last drew
};

}  // namespace vorn::maps
