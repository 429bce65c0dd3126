#!/usr/bin/env bash
# The platform probe under Wine as win98 against the simulated win98se.
source "$(dirname "$0")/probe_diff.sh"
probe_diff win98 win98se
