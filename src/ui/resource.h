// Resource identifiers of Setup.exe.
#pragma once

#define IDR_MAINFRAME 128
#define IDS_ABOUTBOX 101
