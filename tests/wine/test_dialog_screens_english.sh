#!/usr/bin/env bash
# The dialogs in English, as Windows shows them to a user whose language has no template of its own.
source "$(dirname "$0")/screens.sh"
screens_case en_US.UTF-8 english "$ARCH_TITLE" "$MAIN_TITLE" "About Setup"
