// The module's one exported symbol, looked up by name when the window loads the module.
#include "logview/Workbench.h"

extern "C" Q_DECL_EXPORT vorn::logview::Workbench *vorn4CreateLogWorkbench(vorn::host::Shell &shell,
                                                                          const vorn::logview::PullStarts &pullStarts,
                                                                          QWidget *parent)
{
    return new vorn::logview::WorkbenchWindow(shell, pullStarts, parent);
}
