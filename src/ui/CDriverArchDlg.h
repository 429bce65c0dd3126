// The choice between the VxD and the WDM driver on Windows 98 SE and Me.
#pragma once
#include "../framework/CDialog.h"
#include "resource.h"

namespace tvx {

class CDriverArchDlg : public CDialog {
 public:
  explicit CDriverArchDlg(const Platform& platform) : CDialog(IDD_DRIVER_ARCH, platform) {}

  int vxdSelected = 0;  // 1: the VxD architecture, 0: WDM; set before the run, read after OK

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool OnCommand(UINT id, UINT code) override;

 private:
  CButton wdmButton_;
  CButton vxdButton_;
};

}  // namespace tvx
