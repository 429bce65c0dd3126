#include "CVxdOptionsDlg.h"

#include "../app/PathText.h"
#include "MinimisedIcon.h"

namespace tvx {

namespace {

// The folder of the program as started: the path up to its last backslash, kept as it is (no
// drive is added to a path without one). A path without a backslash after its first character
// tells no folder: the running module's folder is taken then.
std::string programFolder(const std::string& programPath, ISystemInfo& system) {
  const auto slash = programPath.rfind('\\');
  if (slash == std::string::npos || slash == 0) return moduleFolder(system);
  return programPath.substr(0, slash + 1);
}

}  // namespace

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
  sourceDir = programFolder(programPath_, p.system);
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
