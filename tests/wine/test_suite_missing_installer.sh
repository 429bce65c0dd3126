#!/usr/bin/env bash
# "/AP" on Windows 98 with no suite installer on the CD: the message box, and nothing starts.
source "$(dirname "$0")/lib.sh"
missing_installer_case win98 "Can not find the Tarvic Sound Suite setup program." /AP
