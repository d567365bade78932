// Commit handlers of the fields (spinner click, leaving an edit, Enter, check-box release).
#include "EditState.h"
#include "UpDown.h"
#include "params/FieldBindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

void TFormHlav::wireEditHandlers()
{
    editState_ = std::make_shared<EditState>();
    EditState &s = *editState_;
    s.bike = ctl<QComboBox>("ComboBoxBike");
    s.sync = ctl<QComboBox>("ComboBoxSynchro");
    s.progHned = ctl<QCheckBox>("CheckBoxProgHned");
    s.tpsMapa = ctl<QCheckBox>("CheckBoxTpsMapa");
    s.aktClutch = ctl<QCheckBox>("CheckBoxAktClutch");

    for (const vorn::FieldBinding &b : vorn::fieldBindings()) {
        if (b.kind == vorn::FieldBinding::Kind::Numeric) {
            UpDown *spinner = ctl<UpDown>(QString::fromStdString(b.upDown));
            Q_ASSERT(spinner && spinner->associate());
            s.bound.push_back(spinner);
            s.spinnerOfEdit.insert(spinner->associate(), spinner);
            connect(spinner, &UpDown::clicked, this, [this] { UpDownClick(); });
        } else {
            auto *box = ctl<QCheckBox>(QString::fromStdString(b.edit));
            Q_ASSERT(box);
            s.bound.push_back(box);
            s.mouseUpBoxes.insert(box);
        }
    }
    s.mouseUpBoxes.insert(s.progHned);

    buildDisplayStateLists(*this, s);
}

bool TFormHlav::editEventFilter(QObject *watched, QEvent *event)
{
    // Runs for every event of the application: the type test comes first.
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusOut && type != QEvent::KeyPress && type != QEvent::MouseButtonRelease)
        return false;
    if (!editState_)
        return false;
    EditState &s = *editState_;

    if (type == QEvent::MouseButtonRelease) {
        // The box toggles while it handles the release; commit once that has happened.
        if (s.mouseUpBoxes.contains(watched) && static_cast<QWidget *>(watched)->isEnabled())
            QMetaObject::invokeMethod(this, [this] { CheckBoxMouseUp(); }, Qt::QueuedConnection);
        return false;
    }

    UpDown *spinner = s.spinnerOfEdit.value(watched);
    if (type == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching windows or opening a menu does not leave the field.
        if (spinner && s.programBusy == 0 && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason)
            EditExit();
        return false;
    }

    if (!spinner && watched != s.aktClutch)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        FormKeyPress();
        return true;
    }
    // Up and Down, with or without Shift, work the field's spinner as the paired platform
    // control does. Held with Alt they are the map tools' cell selection, which no text
    // field gives a meaning.
    if (spinner && !spinner->isHidden() && !(key->modifiers() & Qt::AltModifier)
        && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        if (key->key() == Qt::Key_Up)
            spinner->stepUp();
        else
            spinner->stepDown();
        return true;
    }
    return false;
}

void TFormHlav::UpDownClick()
{
    ReadParameters();
    AfterEdit();
}

void TFormHlav::EditExit()
{
    ReadParameters();
    AfterEdit();
}

void TFormHlav::FormKeyPress()
{
    // Moving the focus commits the field through EditExit as well.
    focusNextPrevChild(true);
    ReadParameters();
    AfterEdit();
}

void TFormHlav::CheckBoxMouseUp()
{
    ReadParameters();
    UpdateDisplayStates();
    AfterEdit();
}
