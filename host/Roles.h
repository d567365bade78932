// The window's roles as a feature meets them, declared once so a feature's header can name
// them without pulling in Qt Widgets; the full interfaces are in the headers of the same name.
#pragma once

namespace vorn::host {
class HostNotifier;
class ImageEditing;
class Link;
class LiveView;
class Shell;
}  // namespace vorn::host
