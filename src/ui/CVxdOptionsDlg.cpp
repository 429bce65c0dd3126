#include "CVxdOptionsDlg.h"

#include "../core/SourceDir.h"
#include "MinimisedIcon.h"

namespace tvx {

VxdInfOptions VxdOptionsFromChecks(bool midiDisabled, bool gameDisabled, const JackChecks& jacks) {
  VxdInfOptions options;
  options.midiPortDisabled = midiDisabled;
  options.gamePortDisabled = gameDisabled;
  if (jacks.soundCard || !jacks.lineInRear) options.lineInAsRear = 0;
  if (jacks.motherBoard && jacks.lineInBass) options.lineInAsBass = 1;
  if (jacks.motherBoard && jacks.micBass) options.micAsBass = 1;
  return options;
}

CVxdOptionsDlg::CVxdOptionsDlg(const Platform& platform, std::string programPath)
    : CDialog(IDD_VXD_OPTIONS, platform), programPath_(std::move(programPath)) {
  icon_ = platform.dialogs.LoadIconA(IDR_MAINFRAME);
}

void CVxdOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MIC_BASS, jacks_.micBass);
  DDX_Control(pDX, IDC_LINEIN_REAR, jacks_.lineInRear);
  DDX_Control(pDX, IDC_LINEIN_BASS, jacks_.lineInBass);
  DDX_Control(pDX, IDC_JACKS_SOUND_CARD, jacks_.soundCard);
  DDX_Control(pDX, IDC_JACKS_MOTHERBOARD, jacks_.motherBoard);
  DDX_Control(pDX, IDC_DISABLE_MIDI, midiBox_);
  DDX_Control(pDX, IDC_DISABLE_GAME, gameBox_);
}

BOOL CVxdOptionsDlg::OnInitDialog() {
  const Platform& p = platform();
  CDialog::OnInitDialog();
  p.windows.SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  p.windows.SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // The package folder made whole as the start-up makes it: a path without a drive, or relative to
  // the current folder, would name another folder once the installation changes the current one.
  sourceDir = sourceDirOf(programPath_, p);
  fullPackage = static_cast<int>(
      p.profiles.GetPrivateProfileIntA("InstallOption", "FullPackage", 0, (sourceDir + "Setup.ini").c_str()));
  SetDefaultJacks(jacks_);
  return TRUE;
}

bool CVxdOptionsDlg::OnCommand(UINT id, UINT code) {
  if (code == BN_CLICKED && OnJackClicked(jacks_, id)) return true;
  return CDialog::OnCommand(id, code);
}

void CVxdOptionsDlg::OnOK() {
  VxdInstallInputs inputs;
  inputs.sourceDir = sourceDir;
  inputs.fullPackage = fullPackage;
  inputs.options = VxdOptionsFromChecks(midiBox_.GetCheck() == BST_CHECKED, gameBox_.GetCheck() == BST_CHECKED,
                                        ReadJackChecks(jacks_));
  InstallVxdWithOptions(inputs, platform(), m_hWnd);
}

bool CVxdOptionsDlg::OnPaint() { return PaintMinimisedIcon(platform(), m_hWnd, icon_); }

}  // namespace tvx
