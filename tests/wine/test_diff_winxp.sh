#!/usr/bin/env bash
# The platform probe under Wine as winxp against the simulated winxp.
source "$(dirname "$0")/probe_diff.sh"
probe_diff winxp winxp
