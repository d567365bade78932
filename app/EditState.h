// Window-side state of form binding and editing: resolved controls, shadow copy, guards.
#pragma once

#include "Hlav.h"

#include <QHash>
#include <QSet>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class UpDown;

struct TFormHlav::EditState {
    // One control per entry of vorn::fieldBindings(), in that order: the spinner of a
    // numeric field or the check box of a flag.
    std::vector<QWidget *> bound;
    QComboBox *bike = nullptr;
    QComboBox *sync = nullptr;
    QCheckBox *progHned = nullptr;
    QCheckBox *tpsMapa = nullptr;
    QCheckBox *aktClutch = nullptr;   // the one check box where Enter commits

    // Each numeric field's edit and its spinner; Enter, focus loss and arrow keys there commit.
    QHash<const QObject *, UpDown *> spinnerOfEdit;
    // Check boxes whose mouse release commits.
    QSet<const QObject *> mouseUpBoxes;

    // Program after change: image offsets 100..299 as last programmed, and whether the box
    // was checked at the last after-edit hook.
    std::array<std::uint8_t, 200> shadow{};
    bool armed = false;

    // Non-zero while the program itself sets, reads or hides controls: focus moving away
    // from a hidden edit then is not the user leaving a field.
    int programBusy = 0;

    // Display-state controls resolved once by name (rules that name single controls).
    std::vector<QWidget *> hiddenWhilePrinting;   // visible = not printing
    std::vector<QWidget *> specialEnabled;        // enabled = special bike
    std::vector<QWidget *> lobeFieldsEnabled;     // enabled = special and not method 0
    std::vector<QWidget *> lobeSpinnersVisible;   // visible = special and not method 0
    QWidget *cgaugeTps = nullptr;
    QWidget *groupPrivera = nullptr;
    QWidget *labelPriveraPoz = nullptr;
    QWidget *labelPriveraMer = nullptr;
    QWidget *labelTpsMon = nullptr;
    QWidget *comboSynchro = nullptr;
    QWidget *editPocKanalu = nullptr;
    QWidget *upDownPocKanalu = nullptr;
    QWidget *labelMonSnimac2 = nullptr;
    std::array<QWidget *, 3> groupPalec{};      // channel groups 2..4
    std::array<QLabel *, 3> labelVerze{};
    std::array<QWidget *, 10> spinButtons{};
    std::array<QWidget *, 8> pickup2Boxes{};

    // Keeps programBusy raised for a scope.
    struct Busy {
        explicit Busy(EditState &s) : state(s) { ++state.programBusy; }
        ~Busy() { --state.programBusy; }
        EditState &state;
    };
};

// Resolves the controls that UpdateDisplayStates names one by one (DisplayStates.cpp).
void buildDisplayStateLists(TFormHlav &form, TFormHlav::EditState &state);
