#!/usr/bin/env bash
# The dialogs in Traditional Chinese (code page 950), chosen by Windows from the user's language.
source "$(dirname "$0")/screens.sh"
screens_case zh_TW.UTF-8 chinese "Windows 98SE/ME 裝置驅動程式架構選擇" "PCI 音效裝置驅動程式及應用程式安裝程式" "About Setup"
