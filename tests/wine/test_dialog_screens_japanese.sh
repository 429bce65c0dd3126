#!/usr/bin/env bash
# The dialogs in Japanese (code page 932), chosen by Windows from the user's language.
source "$(dirname "$0")/screens.sh"
screens_case ja_JP.UTF-8 japanese "Windows 98SE/ME デバイス ドライバ アーキテクチャの選択" \
  "PCI オーディオ デバイス ドライバとアプリケーションのセットアップ" "About Setup"
