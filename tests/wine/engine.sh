# The driver installation of the real Setup.exe under Wine, against the simulated machine's run of
# the same machine folder.
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ENGINE_CHECK="$TVX_SOURCE_DIR/tests/wine/machines/engine/check.ini"

# engine_run MACHINE-FOLDER WINE-VERSION ARGS...: lays the machine, runs Setup.exe from the CD with
# the stand-ins for what Wine lacks, answers its message boxes, and leaves the state the run
# ended in (as the state probe prints it) in $WORK/wine.txt and the simulated machine's in
# $WORK/sim.txt.
engine_run() {
  engine_run_from 'D:\SETUP.EXE' "$@"
}

# engine_run_from PROGRAM MACHINE-FOLDER WINE-VERSION ARGS...: the same with Setup.exe started as
# PROGRAM, the program= of the machine: the CD's setup program, or a file of drive C (the install
# folder of an earlier run), where the real Setup.exe takes that file's place.
engine_run_from() {
  local program=$1 machine=$2 version=$3
  shift 3
  start_display
  new_prefix
  set_version "$version"
  lay_machine "$machine"
  case $program in
    [Dd]:*)
      setup_on_cd
      use_mixer_standin
      ;;
    [Cc]:*)
      local file
      file="$WINEPREFIX/drive_c/$(printf '%s' "${program:3}" | tr '\\' /)"
      [ -f "$file" ] || fail "the machine has no $program to start"
      cp "$TVX_WIN32_DIR/Setup.exe" "$file"
      use_mixer_standin "$(dirname "$file")"
      ;;
    *) fail "engine_run_from: $program is on neither the CD nor drive C" ;;
  esac
  mkdir -p "$WINEPREFIX/drive_c/probe"
  cp "$ENGINE_CHECK" "$WINEPREFIX/drive_c/probe/check.ini"
  cp "$TVX_WIN32_DIR/state_probe.exe" "$WINEPREFIX/drive_c/probe/"
  answer_message_boxes
  local start overrides=$WINEDLLOVERRIDES
  start=$(date +%s)
  # A Windows without some of its DLLs (ENGINE_MISSING_DLLS="setupapi,cfgmgr32"): Setup.exe runs
  # without them; Wine's own programs before and after it keep them.
  [ -z "${ENGINE_MISSING_DLLS:-}" ] || WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$ENGINE_MISSING_DLLS=d"
  run_wine "$program" "$@"
  WINEDLLOVERRIDES=$overrides
  stop_answering
  ENGINE_SECONDS=$(($(date +%s) - start))
  as_wine_user env WINEDEBUG=-all wine 'C:\probe\state_probe.exe' | tr -d '\r' >"$WORK/wine.txt"
  # Wine carries out WININIT.INI as soon as the program asks for the restart (keeping WININIT.BAK);
  # the simulated machine does at the Windows start that follows.
  "$TVX_HOST_DIR/state_probe_sim" "$machine" restart "$ENGINE_CHECK" >"$WORK/sim.txt"
}

# What a driver installation says before it starts and when it is done.
ANNOUNCEMENT="The driver will be installed now. It need a few minutes to complete."
COMPLETION="Setup completed! The system will restart now!"
# What it says when a piece Windows needs could not be put in place.
INCOMPLETE="Can not complete the installation. Please run Setup again."

# The message boxes the run showed, in order, against the expected texts.
expect_messages() {
  expect_eq "$(printf '%s\n' "$@")" "$(message_boxes)" "the message boxes"
}

# Wine's state and the simulated machine's are the same.
expect_same_state() {
  diff -u "$WORK/wine.txt" "$WORK/sim.txt" || fail "Wine and the simulated machine differ after the run"
  echo "ok: $(wc -l <"$WORK/sim.txt") lines of state agree"
}

# After Windows' start (wineboot -r) the new mixer program stands in the Windows folder and the old
# one is kept as Mixer.old. Wine has carried out WININIT.INI when the program asked for the restart.
expect_mixer_replaced() {
  must "starting Windows again (wineboot -r)" as_wine_user env WINEDEBUG=-all wineboot -r
  must "waiting for the start to end" as_wine_user wineserver -w
  local windows="$WINEPREFIX/drive_c/windows"
  expect_eq "$1" "$(tr -d '\r' <"$windows/Mixer.exe")" "the new mixer program after the start"
  expect_eq "MZ mixer, the one in use" "$(tr -d '\r' <"$windows/Mixer.old")" "the old one kept as Mixer.old"
  [ ! -f "$windows/WININIT.INI" ] || fail "WININIT.INI is still there after the start"
}
