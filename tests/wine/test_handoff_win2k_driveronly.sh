#!/usr/bin/env bash
# Windows 2000, "DriverOnly" 1 in setup.ini, no tail, only W2KSetup.exe on the CD.
source "$(dirname "$0")/handoff.sh"
mkdir -p "$CD" && printf '[InstallOption]\r\nDriverOnly=1\r\n' >"$CD/setup.ini"
handoff_case win2k "" 'W2KSetup|D:\W2KSetup.exe|D:\W2KSetup.exe /DRIVER' W2KSetup.exe W2KSetup.exe
