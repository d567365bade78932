// The undo history as the window makes it: undo and redo, change tracking, restore points
// and comparisons. The window constructs it here and never names its classes; it hears of
// every change from the notifier like any other feature.
#pragma once

#include "host/Roles.h"

class QObject;

namespace vorn::history {

QObject *makeHistoryFeature(host::Shell &shell, host::ImageEditing &editing, host::LiveView &live, host::Link &link,
                            host::HostNotifier &notifier, QObject *parent);

}  // namespace vorn::history
