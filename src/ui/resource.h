// Resource identifiers of Setup.exe.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_DRIVER_ARCH 130

#define IDC_INSTALL_APPS 1001
#define IDC_INSTALL_DRIVER 1002
#define IDC_PLEASE_WAIT 1003
#define IDC_ARCH_VXD 1004
#define IDC_ARCH_WDM 1005

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The About item of the main dialog's system menu.
#define IDM_ABOUTBOX 0x0010
