#!/usr/bin/env bash
# Windows 2000, no tail: W2KSetup.dat is started without arguments.
source "$(dirname "$0")/handoff.sh"
handoff_case win2k "" 'W2KSetup|D:\W2KSetup.dat|D:\W2KSetup.dat' W2KSetup.exe W2KSetup.dat
