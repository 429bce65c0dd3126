#include "CDriverArchDlg.h"

namespace tvx {

void CDriverArchDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ARCH_WDM, wdmButton_);
  DDX_Control(pDX, IDC_ARCH_VXD, vxdButton_);
}

BOOL CDriverArchDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  vxdButton_.SetCheck(vxdSelected != 0 ? BST_CHECKED : BST_UNCHECKED);
  wdmButton_.SetCheck(vxdSelected != 0 ? BST_UNCHECKED : BST_CHECKED);
  return TRUE;
}

bool CDriverArchDlg::OnCommand(UINT id, UINT code) {
  if (code == BN_CLICKED && id == IDC_ARCH_VXD) {
    vxdSelected = 1;
    return true;
  }
  if (code == BN_CLICKED && id == IDC_ARCH_WDM) {
    vxdSelected = 0;
    return true;
  }
  return CDialog::OnCommand(id, code);
}

}  // namespace tvx
