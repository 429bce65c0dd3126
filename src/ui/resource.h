// Resource identifiers of Setup.exe.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDD_VXD_OPTIONS 103
#define IDR_MAINFRAME 128
#define IDD_DRIVER_ARCH 130
#define IDD_WDM_OPTIONS 131

#define IDC_INSTALL_APPS 1001
#define IDC_INSTALL_DRIVER 1002
#define IDC_PLEASE_WAIT 1003
#define IDC_ARCH_VXD 1004
#define IDC_ARCH_WDM 1005

// The driver option dialogs. The VxD dialog's MIDI box and the WDM dialog's legacy box share 1000.
#define IDC_DISABLE_MIDI 1000
#define IDC_DISABLE_LEGACY 1000
#define IDC_DISABLE_GAME 1001
#define IDC_JACKS_MOTHERBOARD 1006
#define IDC_JACKS_SOUND_CARD 1007
#define IDC_LINEIN_REAR 1011
#define IDC_LINEIN_BASS 1012
#define IDC_MIC_BASS 1013

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The About item of the main dialog's system menu.
#define IDM_ABOUTBOX 0x0010
