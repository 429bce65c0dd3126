#!/usr/bin/env bash
# The dialogs in Korean (code page 949), chosen by Windows from the user's language.
source "$(dirname "$0")/screens.sh"
screens_case ko_KR.UTF-8 korean "Windows 98SE/ME 장치 드라이버 아키텍처 선택" \
  "PCI 오디오 장치 드라이버 및 응용 프로그램 설치 프로그램" "About Setup"
