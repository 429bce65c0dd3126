// The WDM options dialog of the driver download: how the phone jacks are wired and whether the
// legacy MIDI and game-port devices are disabled. Install runs the WDM driver installation, which
// hands each staged INF file to ApplyWdmOptionsToInf before copying it into the INF folders.
#pragma once
#include <string>

#include "../core/InstallContext.h"
#include "../install/DriverInstallation.h"
#include "JackChoice.h"
#include "resource.h"

namespace tvx {

// The "JackConfig" value of the check states: 0 for the sound card, else 1 for line-in on the
// rear output's jack, plus 2 for line-in on the center/subwoofer's, plus 4 for the microphone on
// the subwoofer's.
int JackConfigFromChecks(const JackChecks& jacks);

class CWdmOptionsDlg : public CDialog, public InfPatcher {
 public:
  // `programPath` is the program as it was started, from which the dialog derives its folder.
  CWdmOptionsDlg(InstallContext& ctx, const Platform& platform, std::string programPath);

  // Writes the boxes' options into the "EnableLegacy" and "JackConfig" lines of one INF file, in
  // place; a file that cannot be opened is left alone.
  bool ApplyWdmOptionsToInf(const std::string& infPath) override;

  std::string sourceDir;  // the package folder: the program's own, ending in a backslash

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Install: the WDM driver installation from the dialog's folder; ends the process.
  void OnOK() override;
  bool OnCommand(UINT id, UINT code) override;

 private:
  InstallContext& ctx_;
  std::string programPath_;
  JackButtons jacks_;
  CButton legacyBox_;
};

}  // namespace tvx
