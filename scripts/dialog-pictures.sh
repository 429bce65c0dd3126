#!/usr/bin/env bash
# Takes the pictures of the dialogs under Wine again and refreshes the README's copies of the
# English main dialog, architecture dialog and the two option dialogs in docs/dialogs/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh wine
cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
cmake --preset host -DTVX_WIN32_DIR="$PWD/build/win32" >/dev/null && cmake --build --preset host >/dev/null
ctest --test-dir build/host -R '^wine\.(dialog_screens_|options_.*_defaults_)' --output-on-failure
mkdir -p docs/dialogs
for picture in english-102-main english-130-architecture english-103-vxd-options english-131-wdm-options; do
  cp "build/host/wine-screens/dialogs/$picture.png" docs/dialogs/
done
echo "refreshed docs/dialogs/; every language's pictures are in build/host/wine-screens/dialogs/"
