// The window's features, made from one list (Features.cpp) in its order and destroyed in the
// reverse order, while everything they were given is whole. Adding a feature is its class and
// one line in that list; its menus go to named places through the shell.
#pragma once

#include "host/Roles.h"
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class TFormHlav;
class WindowHost;

class WindowFeatures {
public:
    // When a feature is made: with the window, or once the control table names the map
    // cells (FormCreate, step 1).
    enum class Stage { WithWindow, WithCells };

    // What a feature's line in the list makes it from.
    struct Context {
        TFormHlav &window;
        WindowHost &host;
        vorn::host::HostNotifier &notifier;
        // Keeps a made feature, to be destroyed in turn.
        void keep(QObject *feature) { kept.push_back({feature, {}}); }
        // The same for a feature the window names as a member (its handlers and the tests reach
        // it there); the member is emptied when the feature goes.
        template <class T>
        T *keep(T *TFormHlav::*member, T *feature)
        {
            window.*member = feature;
            TFormHlav *w = &window;
            kept.push_back({feature, [w, member] { w->*member = nullptr; }});
            return feature;
        }
        struct Kept {
            QObject *feature;
            std::function<void()> forget;
        };
        std::vector<Kept> kept;
    };

    WindowFeatures(TFormHlav &window, WindowHost &host, vorn::host::HostNotifier &notifier);
    ~WindowFeatures();

    // Makes the features of a stage, in the list's order.
    void make(Stage stage);
    // Makes the feature `name` again in its place (a test's list of serial devices).
    void remake(const char *name);
    // Destroys every feature made, the last made first.
    void destroy();

private:
    struct Made {
        const char *name;
        QPointer<QObject> feature;
        std::function<void()> forget;
    };
    void run(std::size_t entry, std::vector<Made>::iterator at);

    Context context_;
    std::vector<Made> made_;
};
