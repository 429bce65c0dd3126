#!/usr/bin/env bash
# Runs the browser test of tvxsim's HTML pages and refreshes the README's copies of its drawings
# in docs/dialogs/ (every dialog in every language, the run and matrix pages are in
# build/host/html-screens/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh tests
cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
cmake --preset host -DTVX_WIN32_DIR="$PWD/build/win32" >/dev/null && cmake --build --preset host >/dev/null
ctest --test-dir build/host -L '^html$' --output-on-failure
cp build/host/html-screens/dialog-131-1033.png docs/dialogs/html-131-wdm-options.png
cp build/host/html-screens/dialog-130-1041.png docs/dialogs/html-130-architecture-japanese.png
echo "refreshed docs/dialogs/html-*.png; every picture is in build/host/html-screens/"
