// The one list of the window's features. Their order is the order their menu items and
// status-bar parts appear in within each place, and the reverse of the order they go in.
#include "Features.h"

#include "Hlav.h"
#include "WindowHost.h"
#include "archive/ui/ArchiveUi.h"
#include "datalog/ui/DatalogController.h"
#include "history/ui/HistoryFeature.h"
#include "link/ui/PortSettingsUi.h"
#include "logview/ui/LogViewUi.h"
#include "logview/ui/PullReport.h"
#include "logview/ui/AdvanceFinderUi.h"
#include "maps/ui/MapTools.h"

namespace {

using Stage = WindowFeatures::Stage;
using Context = WindowFeatures::Context;

struct Entry {
    const char *name;
    Stage stage;
    void (*make)(Context &c);
};

const Entry kFeatures[] = {
    {"datalog", Stage::WithWindow,
     [](Context &c) { c.keep(&TFormHlav::Datalog, new DatalogController(c.host, c.host, c.host, c.notifier)); }},
    {"history", Stage::WithWindow,
     [](Context &c) {
         c.keep(&TFormHlav::History, vorn::history::makeHistoryFeature(c.host, c.host, c.host, c.host, c.notifier, &c.window));
     }},
    {"port-settings", Stage::WithWindow,
     [](Context &c) {
         c.keep(&TFormHlav::PortSettings, c.window.portLister_
                                              ? new PortSettingsUi(c.host, c.host, c.notifier, c.window.portLister_)
                                              : new PortSettingsUi(c.host, c.host, c.notifier));
     }},
    {"log-view", Stage::WithWindow,
     [](Context &c) {
         DatalogController *const &datalog = c.window.Datalog;
         c.keep(&TFormHlav::LogView,
                new vorn::logview::LogViewUi(c.host, c.notifier, [&datalog] {
                    return datalog && datalog->recording() ? datalog->recordingPath() : QString();
                }, vorn::logview::LogViewUi::defaultModuleDirs(), &vorn::logview::pullStartsOf));
     }},
    {"advance-finder", Stage::WithWindow,
     [](Context &c) {
         c.keep(new vorn::logview::AdvanceFinderUi(c.host, c.host, c.host, c.host, c.notifier,
                                                   vorn::logview::LogViewUi::defaultModuleDirs()));
     }},
    {"archive", Stage::WithWindow,
     [](Context &c) { c.keep(&TFormHlav::Archive, new ArchiveUi(c.host, c.host, c.host, c.notifier, std::nullopt, &c.window)); }},
    {"map-tools", Stage::WithCells,
     [](Context &c) { c.keep(&TFormHlav::mapTools, new vorn::maps::MapTools(c.host, c.host, c.host, c.notifier, &c.window)); }},
};

}  // namespace

WindowFeatures::WindowFeatures(TFormHlav &window, WindowHost &host, vorn::host::HostNotifier &notifier)
    : context_{window, host, notifier, {}}
{
}

WindowFeatures::~WindowFeatures()
{
    destroy();
}

void WindowFeatures::run(std::size_t entry, std::vector<Made>::iterator at)
{
    context_.kept.clear();
    kFeatures[entry].make(context_);
    for (auto &k : context_.kept)
        at = std::next(made_.insert(at, {kFeatures[entry].name, k.feature, std::move(k.forget)}));
    context_.kept.clear();
}

void WindowFeatures::make(Stage stage)
{
    for (std::size_t i = 0; i < std::size(kFeatures); ++i)
        if (kFeatures[i].stage == stage)
            run(i, made_.end());
}

void WindowFeatures::remake(const char *name)
{
    for (std::size_t i = 0; i < std::size(kFeatures); ++i) {
        if (qstrcmp(kFeatures[i].name, name) != 0)
            continue;
        auto at = std::find_if(made_.begin(), made_.end(), [name](const Made &m) { return qstrcmp(m.name, name) == 0; });
        if (at == made_.end())
            return;
        delete at->feature.data();
        if (at->forget)
            at->forget();
        at = made_.erase(at);
        run(i, at);
        return;
    }
}

void WindowFeatures::destroy()
{
    while (!made_.empty()) {
        Made m = std::move(made_.back());
        made_.pop_back();
        delete m.feature.data();
        if (m.forget)
            m.forget();
    }
}
