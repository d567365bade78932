// The undo history as the window makes it: undo and redo, change tracking, restore points
// and comparisons. The window constructs it here and never names its classes; it hears of
// every change from the notifier like any other feature.
#pragma once

class QObject;

namespace vorn::host {
class HostNotifier;
class ImageEditing;
class Link;
class LiveView;
class Shell;
}  // namespace vorn::host

namespace vorn::history {

QObject *makeHistoryFeature(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live, host::Link &link,
                            host::HostNotifier &notifier, QObject *parent);

}  // namespace vorn::history
