#!/usr/bin/env bash
# "/AP" on win98 with every suite installer on the CD: the one for this system starts.
source "$(dirname "$0")/suite.sh"
suite_installer_case win98 'D:\W95-98\app\Setup.exe'
