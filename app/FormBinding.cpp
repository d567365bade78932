// Image to controls and back, the after-edit hook and programming after a change.
#include "EditState.h"
#include "UpDown.h"
#include "params/FormValues.h"
#include "params/New.h"

#include <QCheckBox>
#include <QComboBox>

using Kind = vorn::FieldBinding::Kind;

void TFormHlav::ReadParameters()
{
    EditState &s = *editState_;
    {
        EditState::Busy busy(s);
        // A list without a selection leaves its byte as it is.
        const int code = vorn::bikeCodeOfListIndex(s.bike->currentIndex());
        if (code >= 0)
            Image.bikeCode() = static_cast<std::uint8_t>(code);
        if (s.sync->currentIndex() >= 0)
            Image.syncMethod() = static_cast<std::uint8_t>(s.sync->currentIndex());

        // Every control is read, hidden or disabled ones too. A spinner gives back the
        // position last shown unless the user typed or clicked in that very field, and
        // shown values convert back to their byte exactly, also outside the window range.
        const auto &table = vorn::fieldBindings();
        for (std::size_t i = 0; i < table.size(); ++i) {
            const vorn::FieldBinding &b = table[i];
            const int value = b.kind == Kind::Numeric
                                  ? static_cast<UpDown *>(s.bound[i])->position()
                                  : static_cast<QCheckBox *>(s.bound[i])->isChecked();
            Image[b.offset] = vorn::storedByte(b, value);
        }
    }
    UpdateDisplayStates();
}

void TFormHlav::ShowParameters()
{
    EditState &s = *editState_;
    {
        EditState::Busy busy(s);
        const int bikeIndex = vorn::listIndexOfBikeCode(Image.bikeCode());
        if (bikeIndex >= 0 && s.bike->currentIndex() != bikeIndex)
            s.bike->setCurrentIndex(bikeIndex);
        const int syncIndex = vorn::syncListIndexOf(Image.syncMethod());
        if (s.sync->currentIndex() != syncIndex)
            s.sync->setCurrentIndex(syncIndex);

        // Setting positions and check states emits no signal the edit handlers listen to.
        // This runs after every edit: a field that already shows its byte, untouched since,
        // is left alone, so an edit of a few bytes formats and repaints only those fields.
        const auto &table = vorn::fieldBindings();
        for (std::size_t i = 0; i < table.size(); ++i) {
            const vorn::FieldBinding &b = table[i];
            const std::uint8_t byte = Image[b.offset];
            if (b.kind == Kind::Numeric) {
                auto *upDown = static_cast<UpDown *>(s.bound[i]);
                const int value = vorn::shownValue(b, byte);
                if (!upDown->shows(value))
                    upDown->setPosition(value);
            } else {
                auto *box = static_cast<QCheckBox *>(s.bound[i]);
                if (box->isChecked() != (byte != 0))
                    box->setChecked(byte != 0);
            }
        }
    }
    UpdateDisplayStates();
}

void TFormHlav::AfterEdit()
{
    vorn::ClampParameters(Image, LanguageIndex, ComPort);
    ShowParameters();
    // The step is recorded before a Program run may start, so that run finds it done.
    emit Notifier->imageEdited();
    ProgramAfterChange();
}

void TFormHlav::ProgramAfterChange()
{
    EditState &s = *editState_;
    if (!s.progHned->isChecked()) {
        s.armed = false;
        return;
    }
    // Checking the box is itself an edit, and it programs at once.
    bool changed = !s.armed;
    s.armed = true;
    for (int o = vorn::kBlockSize; o < vorn::kImageSize; ++o) {
        std::uint8_t &shadow = s.shadow[static_cast<std::size_t>(o - vorn::kBlockSize)];
        if (shadow != Image[o]) {
            shadow = Image[o];
            changed = true;
        }
    }
    // A replay stands the session still: a Program started now would run when the replay
    // ends, long after the edit. The shadow follows, so nothing fires then either; the
    // change stays with the unit part until the tuner programs.
    if (changed && !Replaying)
        StartProgramRun();
}
