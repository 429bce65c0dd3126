#!/usr/bin/env bash
# Windows 98 with an earlier suite registered and its console running beside the CD player:
# "/AP" closes the console only, starts the earlier suite's uninstaller with " -a", waits the
# second it runs, and only then starts the suite installer.
source "$(dirname "$0")/suite.sh"
start_display
new_prefix
set_version win98
lay_peers
cat >"$WORK/suite.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvic Sound Suite]
"DisplayName"="Tarvic Sound Suite"
"UninstallString"="C:\\peers\\Uninstaller.exe /suite"
REG
import_reg "$WORK/suite.reg"
make_suite_cd
start_window SoundDeck
start_window "CD Player"
answer_message_boxes
WAIT_FOR_ALL=0 run_wine 'D:\Setup.exe' /AP
stop_answering
wait_for_log '^SuiteSetup|'
expect_eq "" "$(message_boxes)" "no message box"
order=$(peer_log | grep -v '^Window open' | cut -d'|' -f1,2 | sed 's/|C:\\peers\\Uninstaller.exe .*//')
expect_eq "Window closed|SoundDeck
Uninstall start
Uninstall end|$(peer_log | sed -n 's/^Uninstall end|//p')
SuiteSetup|D:\\W95-98\\app\\Setup.exe" "$order" "console closed, uninstaller started and ended, then the installer"
expect_eq 'C:\peers\Uninstaller.exe /suite -a' "$(peer_log | sed -n 's/^Uninstall start|\(.*\)|[0-9]*$/\1/p')" \
  "the uninstaller's command line"
started=$(peer_log | sed -n 's/^Uninstall start|.*|\([0-9]*\)$/\1/p')
ended=$(peer_log | sed -n 's/^Uninstall end|//p')
installer=$(peer_log | sed -n 's/^SuiteSetup|.*|\([0-9]*\)$/\1/p')
[ $((ended - started)) -ge 950 ] || fail "the uninstaller ran only $((ended - started)) ms"
[ "$installer" -ge "$ended" ] || fail "the installer started at $installer, before the uninstaller ended at $ended"
echo "ok: the uninstaller ran $((ended - started)) ms; the installer started $((installer - ended)) ms after it ended"
xdotool search --name '^CD Player$' >/dev/null || fail "the CD player was closed too"
echo "ok: the CD player is still open"
