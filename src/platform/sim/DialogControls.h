// The controls of the running dialogs as the dialog host's files share them: whether a person can
// reach a control, how the report names it and its check, and the command a button sends.
#pragma once
#include <string>

#include "../WinTypes.h"
#include "SimPlatform.h"

namespace tvx::sim {

// Enabled and visible: a person can click it, tab to it or press it.
bool reachable(const Dialogs::Control& c);
// The control's number and its text without mnemonic marks: 1003 "Driver".
std::string label(const Dialogs::Control& c);
// "checked", "unchecked" or "indeterminate".
std::string checkName(UINT check);
// The wParam of a WM_COMMAND: the notification code above the control's number.
WPARAM commandParam(int id, UINT code);

}  // namespace tvx::sim
