#!/usr/bin/env bash
# The platform probe under Wine as win95 against the simulated win95.
source "$(dirname "$0")/probe_diff.sh"
probe_diff win95 win95
