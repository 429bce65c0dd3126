# The "/AP" flow of the real Setup.exe: the suite's windows, its uninstaller and its installer.
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# A CD holding the suite installer stand-in in all three app folders.
make_suite_cd() {
  make_cd SuiteSetup.exe W95-98/app/Setup.exe SuiteSetup.exe W2K-ME/app/Setup.exe SuiteSetup.exe NT40/app/Setup.exe
}

# suite_installer_case VERSION EXPECTED-INSTALLER
suite_installer_case() {
  start_display
  new_prefix
  set_version "$1"
  make_suite_cd
  answer_message_boxes
  run_wine 'D:\Setup.exe' /AP
  stop_answering
  expect_eq "" "$(message_boxes)" "no message box on $1"
  wait_for_log '^SuiteSetup|'
  expect_eq "$2" "$(peer_log | grep '^SuiteSetup|' | cut -d'|' -f2)" "the suite installer started on $1"
  expect_eq 1 "$(peer_log | grep -c '^SuiteSetup|')" "one start"
}
