#!/usr/bin/env bash
# Takes the pictures of the dialogs under Wine again and refreshes the README's copies of the
# English main dialog and architecture dialog in docs/dialogs/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
cmake --preset host -DTVX_WIN32_DIR="$PWD/build/win32" >/dev/null && cmake --build --preset host >/dev/null
ctest --test-dir build/host -R '^wine\.dialog_screens_' --output-on-failure
mkdir -p docs/dialogs
for picture in english-102-main english-130-architecture; do
  cp "build/host/wine-screens/dialogs/$picture.png" docs/dialogs/
done
echo "refreshed docs/dialogs/; every language's pictures are in build/host/wine-screens/dialogs/"
