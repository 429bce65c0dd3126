#!/usr/bin/env bash
# Windows NT 4.0, the WDM options dialog: Return on Install announces the driver, hides the
# dialog, takes the volume icon out of the tray and resets the mixer settings, then refuses the
# system; the earlier driver stays and nothing is staged.
source "$(dirname "$0")/options.sh"
options_start options-nt40-wdm nt40
expect_refusal "$ANNOUNCEMENT" "This WDM driver can only be installed on Windows 98SE/ME/2000"
