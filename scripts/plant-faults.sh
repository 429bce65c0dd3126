#!/usr/bin/env bash
# How many deliberately planted faults the tests catch. Each fault below is a one-line edit of the
# program's own code (not the simulator's, not the Windows side's): it is made, the host build
# rebuilt, the tests run (as the test command runs them, without Wine, fuzzing, the fault sweep and
# the browser test), and the file restored. A fault is caught when a test fails; one that stops
# the build is counted as "did not build", one whose edit changes nothing as "did not apply" (an
# error of this script: its edit no longer matches the code).
#
#   scripts/plant-faults.sh            (needs the host build: cmake --preset host ...)
#   scripts/plant-faults.sh --check    (only whether each edit still changes its file)
#
# Ends with "planted faults caught: N of M"; exits 0, or 1 when a fault did not apply. The test
# output of each fault is kept in build/plant-faults/.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

build=build/host
logs=build/plant-faults
test_timeout=120      # seconds per test
run_timeout=1200      # seconds for the whole test run of one fault
ctest_args=(--test-dir "$build" -j2 -LE 'wine|fuzz|faults|html' --timeout "$test_timeout")

files=() edits=() descriptions=()
fault() { files+=("$1"); edits+=("$2"); descriptions+=("$3"); }

# core
fault src/core/ClassifyOs.cpp 's/(lowWord >> 8) == 8 ? 1 : 0/(lowWord >> 8) == 9 ? 1 : 0/' \
  "98 SE told from 98 by the wrong build byte"
fault src/core/DriverFamily.cpp 's/relative = vxdFamily == 1 ?/relative = vxdFamily == 0 ?/' \
  "98/Me: the suite installer of the other driver family"
fault src/core/InstallOptions.cpp 's/"WindowsMEDriver", 1)/"WindowsMEDriver", 0)/' \
  "WindowsMEDriver defaults to 0 instead of 1"
fault src/core/FolderScan.cpp 's/listing.whole = platform.system.GetLastError() == ERROR_NO_MORE_FILES;/listing.whole = platform.system.GetLastError() != ERROR_NO_MORE_FILES;/' \
  "a folder listing read to its end counts as cut short"
# cleanup
fault src/cleanup/DeviceRemoval.cpp 's/if (\*removeFlag != 0)/if (*removeFlag == 0)/' \
  "the device is removed only when removal was not asked for"
fault src/cleanup/InfCleanup.cpp 's/path.size() - 3) + "PNF"/path.size() - 3) + "INF"/' \
  "the precompiled PNF of a maker's INF is left behind"
fault src/cleanup/LegacyFiles.cpp 's/if (read == kUnread) return;/if (read != kUnread) return;/' \
  "WIN.INI's run= entry is rewritten only when it could not be read"
fault src/cleanup/RegistryCleanup.cpp 's/if (!found) return kNoDeviceKeyFound;/if (found) return kNoDeviceKeyFound;/' \
  "registry cleanup stops early exactly when device keys were found"
# suite
fault src/suite/ApplicationSuite.cpp 's/if (ctx.installDriver != 0) return SuiteStart::DriverLeftToFinish;/if (ctx.installDriver == 0) return SuiteStart::DriverLeftToFinish;/' \
  "CD prompt cancelled: the staged driver is finished only when none was staged"
fault src/suite/ApplicationSuite.cpp 's/if (!WriteResumeMarkers(platform, ctx.installDriver, vxdFamily)) {/if (!WriteResumeMarkers(platform, ctx.installDriver, vxdFamily) \&\& false) {/' \
  "a marker file that could not be written is ignored and the suite installer started"
fault src/suite/ResumeMarkers.cpp 's/folder + "MESetup.dat"/folder + "MESetup.exe"/' \
  "resume marker names MESetup.exe instead of MESetup.dat"
fault src/suite/StartupAudioSettings.cpp 's/usingCdda != 0 ? "1" : "0"/usingCdda != 0 ? "0" : "1"/' \
  "UsingCDDA written inverted to TVCDPLAY.INI"
fault src/suite/SuitePrograms.cpp 's/command += " -a";/command += "";/' \
  "the previous suite's uninstaller is started without its silent switch"
# install
fault src/install/InfSourceDisks.cpp 's/const char\* key = vxdFamily ? "1" : "200";/const char* key = vxdFamily ? "200" : "1";/' \
  "SourceDisksNames keys of the two families swapped"
fault src/install/DriverInstallation.cpp 's/if (!RewriteInfSourceDisks(platform, staged.infCopies, staged.vxd)) TellInstallationIncomplete(platform, owner);/RewriteInfSourceDisks(platform, staged.infCopies, staged.vxd);/' \
  "a failed rewrite of the INF copies' source disks is ignored"
fault src/install/Staging.cpp 's/bool whole = listing.whole \&\& /bool whole = /' \
  "a package listing cut short is taken as the whole package"
fault src/install/KernelStreaming.cpp 's/if (ctx.isWin98 \&\& !vxdFamily) count = 3;/if (ctx.isWin98 \&\& !vxdFamily) count = 2;/' \
  "the CD's WDM runs leave ksfilter.inf unpatched"
fault src/install/InfOptionLines.cpp 's/kWdmValueColumn = 48;/kWdmValueColumn = 47;/' \
  "WDM option value written one column early"
fault src/install/VxdOptionsInstall.cpp "s/\"HKR,Config,DISJSTK,1,0\", '1', 100}/\"HKR,Config,DISJSTK,1,0\", '0', 100}/" \
  "disabling the game port writes 0 instead of 1"
fault src/install/Registration.cpp 's/platform.restart.ExitWindowsEx(EWX_REBOOT, 0);/(void)0;/' \
  "no restart after the driver is registered"
fault src/install/Staging.cpp 's/upperCased(name).find("SETUP")/upperCased(name).find("SETUPX")/' \
  "setup files are mirrored into Windows' setup source too"
# ui
fault src/ui/CDriverArchDlg.cpp 's/vxdSelected = 1;/vxdSelected = 0;/' \
  "clicking the VxD button selects WDM"
fault src/ui/CWdmOptionsDlg.cpp 's/(jacks.micBass ? 4 : 0)/(jacks.micBass ? 3 : 0)/' \
  "JackConfig: microphone-as-bass counted as 3"
fault src/ui/CSetupDlg.cpp 's/if (ctx_.isNT4) {/if (ctx_.isNT5) {/' \
  "the driver box is not disabled on NT 4.0"
# app
fault src/app/CSetupApp.cpp 's/command += " \/DRIVER";/command += " \/DRIVERS";/' \
  "hand-off to the Windows 2000/XP installer with a wrong switch"
fault src/app/Switches.cpp 's/|| tail == "-AP"; }/|| tail == "-A"; }/' \
  "the -AP switch is no longer known"

if [ "${1:-}" = --check ]; then
  bad=0
  for i in "${!files[@]}"; do
    if sed -e "${edits[$i]}" "${files[$i]}" | cmp -s - "${files[$i]}"; then
      echo "did not apply: ${files[$i]}: ${edits[$i]}"
      bad=$((bad + 1))
    fi
  done
  echo "${#files[@]} faults, $bad that do not apply"
  [ $bad -eq 0 ]
  exit
fi

if [ ! -f "$build/build.ninja" ]; then
  echo "plant-faults: no host build in $build (cmake --preset host -DTVX_WIN32_DIR=\$PWD/build/win32)" >&2
  exit 1
fi
if [ -n "$(git status --porcelain -- src)" ]; then
  echo "plant-faults: src/ has uncommitted changes; commit or stash them first (each fault is undone with git checkout)" >&2
  git status --short -- src >&2
  exit 1
fi

current=""
restore() {
  if [ -n "$current" ]; then
    git checkout -- "$current"
    current=""
  fi
}
trap restore EXIT
trap 'restore; echo "plant-faults: interrupted" >&2; exit 130' INT TERM

mkdir -p "$logs"
build_quietly() { cmake --build "$build" -j2 >"$1" 2>&1; }
run_tests() { timeout --kill-after=30 "$run_timeout" ctest "${ctest_args[@]}" >"$1" 2>&1; }

echo "baseline: building and running the tests on the unchanged tree"
if ! build_quietly "$logs/baseline.build.log" || ! run_tests "$logs/baseline.log"; then
  echo "plant-faults: the tests do not pass on the unchanged tree (see $logs/baseline*.log)" >&2
  exit 1
fi

results=()
caught=0 missed=0 unbuilt=0 unapplied=0
total=${#files[@]}
for i in "${!files[@]}"; do
  n=$((i + 1))
  file=${files[$i]}
  log=$(printf '%s/%02d.log' "$logs" "$n")
  current=$file
  sed -i -e "${edits[$i]}" "$file"
  if git diff --quiet -- "$file"; then
    verdict="did not apply"
    unapplied=$((unapplied + 1))
  elif ! build_quietly "$log"; then
    verdict="did not build"
    unbuilt=$((unbuilt + 1))
  else
    run_tests "$log"
    rc=$?
    if [ $rc -eq 0 ]; then
      verdict="missed"
      missed=$((missed + 1))
    else
      failed=$(grep -oE '\- [^ ]+ \((Failed|Timeout|Subprocess aborted|SEGFAULT|Exception)\)' "$log" | awk '{print $2}')
      count=$(printf '%s\n' "$failed" | grep -c . || true)
      if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
        verdict="caught (the test run timed out)"
      else
        verdict="caught by $count test(s): $(printf '%s\n' "$failed" | head -3 | paste -sd' ')$([ "$count" -gt 3 ] && echo ' ...')"
      fi
      caught=$((caught + 1))
    fi
  fi
  restore
  line=$(printf '%2d. %-37s %s: %s' "$n" "$file" "${descriptions[$i]}" "$verdict")
  results+=("$line")
  echo "$line"
done

# Leave the build as the tree is.
build_quietly "$logs/restored.build.log" || echo "plant-faults: the build of the restored tree failed" >&2

echo
echo "planted faults:"
printf '%s\n' "${results[@]}"
[ $unbuilt -gt 0 ] && echo "did not build: $unbuilt"
[ $unapplied -gt 0 ] && echo "did not apply (errors of this script): $unapplied"
echo "planted faults caught: $caught of $total"
[ $unapplied -eq 0 ]
