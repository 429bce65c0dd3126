#!/usr/bin/env bash
# Windows XP with both installers on the CD: only W2KSetup.dat is started.
source "$(dirname "$0")/handoff.sh"
handoff_case winxp "DRIVER" 'W2KSetup|D:\W2KSetup.dat|D:\W2KSetup.dat /DRIVER' \
  W2KSetup.exe W2KSetup.dat W2KSetup.exe W2KSetup.exe
