#!/usr/bin/env bash
# Windows XP with neither installer on the CD: the message box, answered with Return, then the
# program ends without starting anything.
source "$(dirname "$0")/lib.sh"
missing_installer_case winxp "Can not find the setup program for Windows 2000/XP."
