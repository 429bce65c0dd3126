#!/usr/bin/env bash
# The platform probe under Wine as winme against the simulated winme.
source "$(dirname "$0")/probe_diff.sh"
probe_diff winme winme
