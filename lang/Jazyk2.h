// The message catalogue ("jazyk" = language): status, box and live-label texts in four languages.
#pragma once

#include <QString>

#include <array>

namespace vorn {

// Every message slot, named after its English text.
enum class Msg {
    ProgramError,        // "Program error!"
    VerifyError,         // "Verify error!"
    ReadError,           // "Read error!"
    ProgramDevice,       // "Program device:"
    UnmatchedVersion,    // "Unmatched version of PC and Ignition programs!"
    Verify,              // "Verify:"
    Read,                // "Read:"
    Advance,             // "Advance"
    NumberOfPrograming,  // "Number of Programing= "
    Blocking,            // "Blocking"
    Yes,                 // "YES"
    No,                  // "NO"
    OpenFileError,       // "Open file error!"
    DefaultSetting,      // "Do you want default setting?"
    UnmatchedIgnFile,    // "Unmatched version of *.ign file!"
    DateTimeOfPrinting,  // "Date and time of printing:  "
    PickupSystemError,   // "Pick up system error" padded to 40 characters
    PickupCkps,          // "Pick-up (CKPS)"
    IsRunning,           // "is running"
    NoSignal,            // "no signal"
    ServoDesired,        // "Servo desired="
    ServoMeasured,       // "Servo measured="
    ManualError,         // "Error by opening file " + manual + " !"
    GearShiftLight,      // "Gear Shift Light" (filled by the caption step)
    Count
};

constexpr int kLanguageCount = 4;   // 0 English, 1 German, 2 French, 3 Czech

// The texts of the current language, as the window holds them.
struct MessageSlots {
    std::array<QString, static_cast<int>(Msg::Count)> text;
    QString manualFileName;
    const QString &operator[](Msg m) const { return text[static_cast<int>(m)]; }
    QString &operator[](Msg m) { return text[static_cast<int>(m)]; }
};

// Catalogue look-ups; language must be 0..3. ManualError is returned complete (lead text,
// manual file name, " !"); GearShiftLight is the caption catalogue's prefix.
QString messageText(Msg m, int language);
QString manualFileName(int language);

// Fills every slot of the given language (the manual name first, then the messages).
void fillMessageSlots(MessageSlots &slots, int language);

}  // namespace vorn
