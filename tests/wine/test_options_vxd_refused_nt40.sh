#!/usr/bin/env bash
# Windows NT 4.0, the VxD options dialog: Return on Install shows "This driver can not be used on
# Windows NT or Windows 2000." and the program ends; nothing is copied, removed or restarted.
source "$(dirname "$0")/options.sh"
options_start options-nt40-vxd nt40
expect_refusal "This driver can not be used on Windows NT or Windows 2000."
