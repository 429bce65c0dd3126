#!/usr/bin/env bash
# "/AP" on winxp with every suite installer on the CD: the one for this system starts.
source "$(dirname "$0")/suite.sh"
suite_installer_case winxp 'D:\W2K-ME\app\Setup.exe'
