// Loads a module of the program on first use: a shared library that brings heavy parts (the
// charts of the map view, the log workbench) the program does not load at start-up. Each
// module offers typed entry points (a function making a window that implements the module's
// interface, see maps/ui/MapViewApi.h and logview/LogViewApi.h); calls across go through
// that interface, never through names looked up at run time.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vorn::host {

class ModuleLoader {
public:
    // `name` is the library's base name ("vorn4mapview"); `dirs` the folders it is looked
    // for in, the first that holds it wins.
    explicit ModuleLoader(QString name, QStringList dirs = defaultDirs());

    // Beside the program, its lib folders, the build's and the installed one.
    static QStringList defaultDirs();

    const QString &name() const { return name_; }
    // The entry point `symbol` as a function of type Entry, loading the module the first
    // time; nullptr when no folder holds the module or it lacks the entry. A module stays
    // loaded for the rest of the run: the windows it made live as long.
    template <class Entry>
    Entry entry(const char *symbol) const
    {
        return reinterpret_cast<Entry>(resolve(symbol));
    }

private:
    using Function = void (*)();
    Function resolve(const char *symbol) const;

    QString name_;
    QStringList dirs_;
};

}  // namespace vorn::host
