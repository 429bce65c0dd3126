#!/usr/bin/env bash
# The platform probe under Wine as win2k against the simulated win2k.
source "$(dirname "$0")/probe_diff.sh"
probe_diff win2k win2k
