// The "Phone Jacks" group both driver option dialogs show: where the chip sits (two radio
// buttons, each a group of its own, kept exclusive here) and which jacks share (three check
// boxes), with the rules that keep them consistent.
#pragma once
#include "../framework/CDialog.h"

namespace tvx {

struct JackButtons {
  CButton motherBoard;  // 1006 "4400 in MotherBoard"
  CButton soundCard;    // 1007 "4400 in sound card (rear speakers jack individually)"
  CButton lineInRear;   // 1011 line-in shares its jack with the rear speaker output
  CButton lineInBass;   // 1012 line-in shares its jack with the center/subwoofer output
  CButton micBass;      // 1013 the microphone shares its jack with the subwoofer output
};

// The check states the Install command reads, at the moment it runs.
struct JackChecks {
  bool motherBoard = false;
  bool soundCard = false;
  bool lineInRear = false;
  bool lineInBass = false;
  bool micBass = false;
};

// The motherboard with line-in on the rear output's jack; the jack boxes enabled.
void SetDefaultJacks(JackButtons& jacks);
// The click rule of control `id` when it is one of the five: a clicked jack box is always left
// checked, and the sound card disables the jack boxes without changing their checks. False for
// any other control.
bool OnJackClicked(JackButtons& jacks, UINT id);
JackChecks ReadJackChecks(JackButtons& jacks);

}  // namespace tvx
