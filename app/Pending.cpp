// Handlers whose subsystems are still being built; each subsystem replaces its entries.
#include "Hlav.h"

// [edit]
void TFormHlav::InitEditPointers() {}
void TFormHlav::InitUpDownPointers() {}
void TFormHlav::ReadParameters() {}
void TFormHlav::ShowParameters() {}
void TFormHlav::AfterEdit() {}
void TFormHlav::ProgramAfterChange() {}
void TFormHlav::UpdateDisplayStates() {}
void TFormHlav::UpDownClick() {}
void TFormHlav::EditExit() {}
void TFormHlav::CheckBoxMouseUp() {}
void TFormHlav::BitBtnAdvMinusClick() {}
void TFormHlav::BitBtnAdvPlusClick() {}
void TFormHlav::BitBtnServoMinusClick() {}
void TFormHlav::BitBtnServoPlusClick() {}
void TFormHlav::BitBtnTps0Click() {}
void TFormHlav::BitBtnTps100Click() {}
void TFormHlav::CSpinButtonDownClick(int) {}
void TFormHlav::CSpinButtonUpClick(int) {}
void TFormHlav::ApplyBikeSetup() {}
void TFormHlav::ComboBikeChange() {}
void TFormHlav::MenuNewClick() {}
void TFormHlav::wireEditHandlers() {}
bool TFormHlav::editEventFilter(QObject *, QEvent *) { return false; }
// [/edit]

// [link]
// [/link]

// [files]
void TFormHlav::LoadSettings() {}
void TFormHlav::SaveSettings() {}
void TFormHlav::MenuSaveClick() {}
void TFormHlav::MenuOpenClick() {}
void TFormHlav::MenuContensClick() {}
// [/files]

// [lang]
void TFormHlav::ApplyMessages() {}
void TFormHlav::ApplyCaptions() {}
void TFormHlav::MenuEnglishClick() {}
void TFormHlav::MenuGermanClick() {}
void TFormHlav::MenuFrenchClick() {}
void TFormHlav::MenuCzechClick() {}
// [/lang]

// [print]
void TFormHlav::SpeedButtonPrintClick() {}
void TFormHlav::MenuPrintAllClick() {}
void TFormHlav::MenuAboutClick() {}
// [/print]
