#!/usr/bin/env bash
# Windows XP, tail "/driver" in lower case: upper-cased, passed on as " /DRIVER".
source "$(dirname "$0")/handoff.sh"
handoff_case winxp "/driver" 'W2KSetup|D:\W2KSetup.dat|D:\W2KSetup.dat /DRIVER' W2KSetup.exe W2KSetup.dat
