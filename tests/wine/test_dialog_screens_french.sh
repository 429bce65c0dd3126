#!/usr/bin/env bash
# The dialogs in French (code page 1252), chosen by Windows from the user's language.
source "$(dirname "$0")/screens.sh"
screens_case fr_FR.UTF-8 french "Choix de l'architecture du pilote pour Windows 98SE/ME" \
  "Installation du pilote et des applications audio PCI" "About Setup"
