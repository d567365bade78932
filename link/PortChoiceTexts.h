// Texts of the port chooser: its menu item, dialog, lists and the no-connection hint.
#pragma once

#include "lang/Texts4.h"

namespace vorn::porttext {

extern const Text4 MenuPortSettings;
extern const Text4 DialogTitle;
extern const Text4 Intro;
extern const Text4 PortsTitle;
extern const Text4 DevicesTitle;
extern const Text4 DeviceLabel;
extern const Text4 UseFor;        // %1 the COM number
extern const Text4 UseForNone;
extern const Text4 Close;

extern const Text4 HeaderPort;
extern const Text4 HeaderSetTo;
extern const Text4 HeaderLeadsTo;
extern const Text4 Default;       // %1 the default path
extern const Text4 NoSuchDevice;
extern const Text4 NoPortThere;

extern const Text4 HeaderDevice;
extern const Text4 HeaderStableName;
extern const Text4 HeaderUsb;
extern const Text4 HeaderSerial;
extern const Text4 HeaderDescription;
extern const Text4 HeaderAccess;
extern const Text4 HeaderUsedBy;
extern const Text4 AccessYes;
extern const Text4 AccessNotInGroup;      // %1 group
extern const Text4 AccessNextLogin;       // %1 group
extern const Text4 AccessDenied;          // %1 group
extern const Text4 AccessMissing;

extern const Text4 NoComNumber;
extern const Text4 NoDevicePath;
extern const Text4 NotReadWhole;          // %1 file
extern const Text4 NotWritten;            // %1 file

extern const Text4 Hint;                  // %1 device, %2 what it is, %3 COM number
extern const Text4 HintPart;              // %1 COM number; the status bar's short form

}  // namespace vorn::porttext
