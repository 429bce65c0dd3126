#!/usr/bin/env bash
# Builds tvxsim and runs the demo machines through it: what Setup.exe would do on each; then the
# sign-off of the example CD, its matrix over every Windows version and path; the same for the
# disc image mastered from it, as Windows reads the disc; and what a next release of it changes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh demo
cmake --preset host >/dev/null
cmake --build --preset host --target tvxsim >/dev/null
for ini in examples/*/machine.ini; do
  echo "=================================================================="
  build/host/tvxsim run "$(dirname "$ini")"
done
echo "=================================================================="
build/host/tvxsim matrix examples/cd

# What ships is the image: mastered with Joliet names, it must sign off as its folder does.
demo=build/demo
rm -rf "$demo" && mkdir -p "$demo"
xorriso -as mkisofs -quiet -J -V TVX_CD -o "$demo/cd.iso" examples/cd 2>/dev/null
echo "=================================================================="
echo "The example CD's disc image, held to the folder it was made from:"
build/host/tvxsim matrix "$demo/cd.iso" --folder examples/cd | tail -n 6

# A next release: a newer WDM driver and a read-me in the Windows 95 package.
cp -r examples/cd "$demo/next"
printf 'a newer WDM driver\r\n' >"$demo/next/W2K-ME/drv/tvaudio.sys"
printf 'Read me first.\r\n' >"$demo/next/W95-98/drv/95/README.TXT"
echo "=================================================================="
echo "What the next release does differently from the example CD:"
build/host/tvxsim matrix "$demo/next" --against examples/cd
