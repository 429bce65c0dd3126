#!/usr/bin/env bash
# "/AP" on winme with every suite installer on the CD: the one for this system starts.
source "$(dirname "$0")/suite.sh"
suite_installer_case winme 'D:\W2K-ME\app\Setup.exe'
