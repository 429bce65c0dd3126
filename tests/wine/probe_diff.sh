# Differential test: the platform probe on the simulated machine and under Wine, compared.
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# probe_diff WINE-VERSION SIMULATED-OS
probe_diff() {
  # The probe's machine, with a stand-in program to start from different folders.
  local machine="$WORK/machine"
  cp -r "$TVX_SOURCE_DIR/tests/diff/machine" "$machine"
  mkdir -p "$machine/drives/C/probe/run"
  cp "$TVX_WIN32_DIR/SuiteSetup.exe" "$machine/drives/C/probe/run/TvxRun.exe"
  cp "$TVX_WIN32_DIR/SuiteWindow.exe" "$machine/drives/C/probe/run/Window.exe"
  cp "$TVX_WIN32_DIR/SuiteWindow.exe" "$machine/drives/C/probe/run/Idle.exe"
  cp "$TVX_WIN32_DIR/ConsoleTool.exe" "$machine/drives/C/probe/run/Console.exe"
  # A program on the CD, started while the CD is out and once it is back.
  cp "$TVX_WIN32_DIR/SuiteSetup.exe" "$machine/drives/D/TvxRun.exe"
  # The CD's folder sits alone in a folder of the Wine user's, mapped as drive E:, so that the
  # probe can take the CD out by renaming it (drive D: then stands for nothing) and put it back.
  CD="$WORK/media/cd"
  start_display
  new_prefix
  ln -sfn "$WORK/media" "$WINEPREFIX/dosdevices/e:"
  set_version "$1"
  lay_drive_c "$machine/drives/C"
  cp -r "$machine/drives/D"/. "$CD/"
  cp "$TVX_WIN32_DIR/platform_probe.exe" "$WINEPREFIX/drive_c/probe/"
  as_wine_user env WINEDEBUG=-all WINEPATH='C:\probe\run\onpath' wine 'C:\probe\platform_probe.exe' | tr -d '\r' >"$WORK/wine.txt"
  "$TVX_HOST_DIR/platform_probe_sim" "$machine" "$2" >"$WORK/sim.txt"
  if ! diff -u "$WORK/wine.txt" "$WORK/sim.txt"; then
    fail "the simulated machine differs from Wine ($1)"
  fi
  echo "ok: $(wc -l <"$WORK/sim.txt") probe lines agree on $1"
}
