// The VxD options dialog of the driver download: how the phone jacks are wired and whether the
// MIDI and game ports are disabled; Install runs the VxD installation with these options.
#pragma once
#include <string>

#include "../install/InfOptions.h"
#include "JackChoice.h"
#include "resource.h"

namespace tvx {

// The INF option values of the check states: each differs from what the package ships only
// where the boxes ask for it.
VxdInfOptions VxdOptionsFromChecks(bool midiDisabled, bool gameDisabled, const JackChecks& jacks);

class CVxdOptionsDlg : public CDialog {
 public:
  // `programPath` is the program as it was started, from which the dialog derives its folder.
  CVxdOptionsDlg(const Platform& platform, std::string programPath);

  std::string sourceDir;  // the package folder: the program's own, ending in a backslash
  int fullPackage = 0;    // "FullPackage" of the folder's Setup.ini

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Install: the VxD installation with the options of the boxes as they are now; ends the process.
  void OnOK() override;
  bool OnCommand(UINT id, UINT code) override;
  bool OnPaint() override;
  HICON OnQueryDragIcon() override { return icon_; }

 private:
  std::string programPath_;
  JackButtons jacks_;
  CButton midiBox_;
  CButton gameBox_;
  HICON icon_;
};

}  // namespace tvx
