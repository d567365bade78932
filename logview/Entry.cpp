// The module's exported symbols, looked up by name when the window loads the module.
#include "logview/Workbench.h"
#ifdef VORN4_LOGVIEW_CHARTS
#include "logview/AdvanceFinderWindow.h"
#include "logview/PullComparisonWindow.h"
#endif

extern "C" Q_DECL_EXPORT vorn::logview::Workbench *vorn4CreateLogWorkbench(vorn::host::Shell &shell,
                                                                          const vorn::logview::PullStarts &pullStarts,
                                                                          QWidget *parent)
{
    return new vorn::logview::WorkbenchWindow(shell, pullStarts, parent);
}

extern "C" Q_DECL_EXPORT vorn::logview::PullComparison *vorn4CreatePullComparison(
    vorn::host::Shell &shell, const vorn::logview::ComparePulls &compare, QWidget *parent)
{
#ifdef VORN4_LOGVIEW_CHARTS
    return new vorn::logview::PullComparisonWindow(shell, compare, parent);
#else
    (void)shell;
    (void)compare;
    (void)parent;
    return nullptr;
#endif
}

extern "C" Q_DECL_EXPORT vorn::logview::AdvanceFinder *vorn4CreateAdvanceFinder(vorn::host::Shell &shell,
                                                                               vorn::logview::FinderHost &host,
                                                                               QWidget *parent)
{
#ifdef VORN4_LOGVIEW_CHARTS
    return new vorn::logview::AdvanceFinderWindow(shell, host, parent);
#else
    (void)shell;
    (void)host;
    (void)parent;
    return nullptr;
#endif
}
