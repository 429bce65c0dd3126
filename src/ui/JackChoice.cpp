#include "JackChoice.h"

#include "resource.h"

namespace tvx {

namespace {

void enableJackBoxes(JackButtons& jacks, BOOL enable) {
  jacks.lineInRear.EnableWindow(enable);
  jacks.lineInBass.EnableWindow(enable);
  jacks.micBass.EnableWindow(enable);
}

bool checked(CButton& button) { return button.GetCheck() == BST_CHECKED; }

}  // namespace

void SetDefaultJacks(JackButtons& jacks) {
  jacks.motherBoard.SetCheck(BST_CHECKED);
  jacks.soundCard.SetCheck(BST_UNCHECKED);
  jacks.lineInRear.SetCheck(BST_CHECKED);
  jacks.lineInBass.SetCheck(BST_UNCHECKED);
  jacks.micBass.SetCheck(BST_UNCHECKED);
}

bool OnJackClicked(JackButtons& jacks, UINT id) {
  switch (id) {
    case IDC_JACKS_MOTHERBOARD:
      jacks.motherBoard.SetCheck(BST_CHECKED);
      jacks.soundCard.SetCheck(BST_UNCHECKED);
      enableJackBoxes(jacks, TRUE);
      return true;
    case IDC_JACKS_SOUND_CARD:
      jacks.motherBoard.SetCheck(BST_UNCHECKED);
      jacks.soundCard.SetCheck(BST_CHECKED);
      enableJackBoxes(jacks, FALSE);
      return true;
    case IDC_LINEIN_REAR:
      jacks.lineInRear.SetCheck(BST_CHECKED);
      jacks.lineInBass.SetCheck(BST_UNCHECKED);
      return true;
    case IDC_LINEIN_BASS:
      jacks.lineInRear.SetCheck(BST_UNCHECKED);
      jacks.lineInBass.SetCheck(BST_CHECKED);
      jacks.micBass.SetCheck(BST_UNCHECKED);
      return true;
    case IDC_MIC_BASS:
      jacks.lineInBass.SetCheck(BST_UNCHECKED);
      jacks.micBass.SetCheck(BST_CHECKED);
      return true;
    default:
      return false;
  }
}

JackChecks ReadJackChecks(JackButtons& jacks) {
  JackChecks c;
  c.motherBoard = checked(jacks.motherBoard);
  c.soundCard = checked(jacks.soundCard);
  c.lineInRear = checked(jacks.lineInRear);
  c.lineInBass = checked(jacks.lineInBass);
  c.micBass = checked(jacks.micBass);
  return c;
}

}  // namespace tvx
