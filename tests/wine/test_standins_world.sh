#!/usr/bin/env bash
# The stand-ins for what Wine lacks during a driver install: MixerWatch.exe beside the winmm.dll
# stand-in on the CD sees the machine's events happen at their times after its first
# mixerGetNumDevs call (the re-enumeration): the TVDNINST window comes and goes, the mixer count
# rises, the audio device's registry import lands and the tray's volume bit is set. The stand-in
# "Mixer" window closes on WM_CLOSE under the same DLL overrides.
source "$(dirname "$0")/lib.sh"

start_display
new_prefix
set_version winme
lay_machine "$TVX_SOURCE_DIR/tests/wine/machines/world"
use_mixer_standin
cp "$TVX_WIN32_DIR/MixerWatch.exe" "$CD/"
start_window Mixer
as_wine_user env WINEDEBUG=-all wine 'D:\MixerWatch.exe' 7 2>"$WORK/trace" | tr -d '\r' >"$WORK/watch.txt"
cat "$WORK/watch.txt"

expect_eq "Mixer window: found" "$(sed -n 1p "$WORK/watch.txt")" "the stand-in Mixer window is there"
expect_eq "Mixer window after WM_CLOSE: gone" "$(sed -n 2p "$WORK/watch.txt")" "WM_CLOSE closes it"
wait_for_log "Window closed|Mixer"

# The first moment a state shows, in milliseconds after the re-enumeration; fails when it never does.
first_time() {
  local t
  t=$(awk -v pat="$1" '$1 ~ /^[0-9]+$/ && index($0, pat) { print $1; exit }' "$WORK/watch.txt")
  [ -n "$t" ] || fail "never saw \"$1\""
  echo "$t"
}
within() {  # what value low high
  if [ "$2" -lt "$3" ] || [ "$2" -gt "$4" ]; then fail "$1 at $2 ms, expected $3..$4 ms"; fi
  echo "ok: $1 at $2 ms"
}
expect_eq "mixers=0 tvdninst=closed media=none services=3" "$(sed -n 3p "$WORK/watch.txt" | cut -d" " -f2-)" "the state at the re-enumeration"
within "the TVDNINST window opens" "$(first_time tvdninst=open)" 800 2500
within "the mixer count rises" "$(first_time mixers=1)" 1800 3000
within "the audio device is in the registry" "$(first_time 'media=TVX4400/QSND PCI Audio Device')" 1800 4000
within "the tray bit is set, the others kept" "$(first_time services=7)" 2800 4500
closed=$(awk '$1 ~ /^[0-9]+$/ && /tvdninst=open/ { seen = 1 } seen && /tvdninst=closed/ { print $1; exit }' "$WORK/watch.txt")
[ -n "$closed" ] || fail "the TVDNINST window never went away"
within "the TVDNINST window closes" "$closed" 3800 5800
wait_for_log "World|end"
expect_eq 1 "$(peer_log | grep -c 'winmm|re-enumeration')" "one re-enumeration, one world"
