#!/usr/bin/env bash
# The platform probe under Wine as nt40 against the simulated nt40.
source "$(dirname "$0")/probe_diff.sh"
probe_diff nt40 nt40
