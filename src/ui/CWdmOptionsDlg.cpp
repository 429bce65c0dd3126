#include "CWdmOptionsDlg.h"

#include "../core/Scoped.h"
#include "../core/SourceDir.h"
#include "../install/InfOptions.h"

namespace tvx {

namespace {

const char* const kEnableLegacyLine = "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
const char* const kJackConfigLine = "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";

}  // namespace

int JackConfigFromChecks(const JackChecks& jacks) {
  if (jacks.soundCard) return 0;
  return (jacks.lineInRear ? 1 : 0) + (jacks.lineInBass ? 2 : 0) + (jacks.micBass ? 4 : 0);
}

CWdmOptionsDlg::CWdmOptionsDlg(InstallContext& ctx, const Platform& platform, std::string programPath)
    : CDialog(IDD_WDM_OPTIONS, platform), ctx_(ctx), programPath_(std::move(programPath)) {}

void CWdmOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_JACKS_SOUND_CARD, jacks_.soundCard);
  DDX_Control(pDX, IDC_JACKS_MOTHERBOARD, jacks_.motherBoard);
  DDX_Control(pDX, IDC_DISABLE_LEGACY, legacyBox_);
  DDX_Control(pDX, IDC_MIC_BASS, jacks_.micBass);
  DDX_Control(pDX, IDC_LINEIN_REAR, jacks_.lineInRear);
  DDX_Control(pDX, IDC_LINEIN_BASS, jacks_.lineInBass);
}

BOOL CWdmOptionsDlg::OnInitDialog() {
  const Platform& p = platform();
  CDialog::OnInitDialog();
  // The folder as the start-up derives it, with the same fall-back to the module's folder.
  sourceDir = sourceDirOf(programPath_, p);
  SetDefaultJacks(jacks_);
  return TRUE;
}

bool CWdmOptionsDlg::OnCommand(UINT id, UINT code) {
  if (code == BN_CLICKED && OnJackClicked(jacks_, id)) return true;
  return CDialog::OnCommand(id, code);
}

void CWdmOptionsDlg::OnOK() {
  // The run stages the package from the context's folder: this dialog's own.
  InstallContext run = ctx_;
  run.sourceDir = sourceDir;
  RunDriverInstallation(run, platform(), DriverRunKind::WdmOptionsDialog, m_hWnd, this);
}

bool CWdmOptionsDlg::ApplyWdmOptionsToInf(const std::string& infPath) {
  const Platform& p = platform();
  ScopedStream file(p.streams, infPath.c_str(), "r+b");
  if (!file.isOpen()) return false;
  FileStream* inf = file.get();
  bool whole = true;
  if (legacyBox_.GetCheck() == BST_CHECKED) {
    whole = PatchWdmOptionLine(p, inf, kEnableLegacyLine, '2', 100) != OptionLinePatch::Failed;
  }
  const std::string jackConfig = std::to_string(JackConfigFromChecks(ReadJackChecks(jacks_)));
  whole = PatchWdmOptionLine(p, inf, kJackConfigLine, jackConfig[0], 0) != OptionLinePatch::Failed && whole;
  p.streams.fseek(inf, 0, kSeekEnd);
  whole = p.streams.fflush(inf) == 0 && whole;
  return file.close() == 0 && whole;
}

}  // namespace tvx
