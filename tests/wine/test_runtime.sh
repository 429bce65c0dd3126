#!/usr/bin/env bash
# Setup.exe's own start and runtime (no C runtime DLL): runtime_check.exe, linked as Setup.exe
# is, started with a quoted program name and blanks before its arguments.
source "$(dirname "$0")/lib.sh"

start_display
new_prefix
set_version win95
mkdir -p "$WINEPREFIX/drive_c/run dir"
cp "$TVX_WIN32_DIR/runtime_check.exe" "$WINEPREFIX/drive_c/run dir/"
code=0
as_wine_user env WINEDEBUG=-all wine 'C:\run dir\runtime_check.exe' 'C:\runtime.log' 'two  words' >/dev/null 2>"$WORK/trace" ||
  code=$?
expect_eq 7 "$code" "the exit code is WinMain's"
log=$(tr -d '\r' <"$WINEPREFIX/drive_c/runtime.log")
echo "$log"
expect_eq 'arguments [C:\runtime.log "two  words"]' "$(head -1 <<<"$log")" "WinMain is handed the arguments after the quoted name"
if grep -q '^FAILED' <<<"$log"; then fail "a runtime check failed"; fi
expect_eq 15 "$(grep -c '^ok ' <<<"$log")" "every check ran"
expect_eq "unmade second
unmade first" "$(tail -2 <<<"$log")" "static objects unmade after WinMain, last made first"
