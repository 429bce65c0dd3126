# The hand-off to the Windows 2000/XP installer, run on the real Setup.exe.
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# handoff_case VERSION TAIL EXPECTED-PEER-LINE [CD entries for make_cd...]
handoff_case() {
  local version=$1 tail=$2 expected=$3
  shift 3
  start_display
  new_prefix
  set_version "$version"
  make_cd "$@"
  answer_message_boxes
  # shellcheck disable=SC2086
  run_wine 'D:\Setup.exe' $tail
  stop_answering
  expect_eq "" "$(message_boxes)" "no message box on $version"
  expect_eq "$expected" "$(peer_log)" "the installer got its command line on $version"
}
