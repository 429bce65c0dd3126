#!/usr/bin/env bash
# "/AP" on nt40 with every suite installer on the CD: the one for this system starts.
source "$(dirname "$0")/suite.sh"
suite_installer_case nt40 'D:\NT40\app\Setup.exe'
