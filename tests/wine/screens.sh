# Pictures of every dialog in one language: the architecture dialog, the main dialog and the
# About box reached from the system menu, with Wine set to the user's language by the locale. The
# About box is English in every language: Wine, as Windows, takes the US English template where
# the user's language has none.
# shellcheck source=dialogs.sh
source "$(dirname "${BASH_SOURCE[0]}")/dialogs.sh"

# screens_case LOCALE NAME ARCH-TITLE MAIN-TITLE ABOUT-TITLE
screens_case() {
  local name=$2 arch_title=$3 main_title=$4 about_title=$5
  start_display
  new_prefix
  set_version winme
  draw_captions
  make_dialog_cd "WindowsMEDriverAskUser=1"
  SETUP_LANG=$1 start_setup
  local arch main about
  arch=$(wait_window "Windows 98SE/ME")
  dlgctl wait "$arch_title" 1 >/dev/null || fail "no dialog captioned \"$arch_title\""
  screenshot "$arch" "$name-130-architecture"
  keys "$arch" Return
  main=$(wait_window "PCI")
  dlgctl wait "$main_title" 1 >/dev/null || fail "no dialog captioned \"$main_title\""
  screenshot "$main" "$name-102-main"
  # The system menu holds Wine's own "About Wine" too: the last item is ours.
  keys "$main" alt+space Up Return
  about=$(wait_window "Setup" "$main")
  dlgctl wait "$about_title" 1 >/dev/null || fail "no dialog captioned \"$about_title\""
  screenshot "$about" "$name-100-about"
  keys "$about" Return
  keys "$main" Escape
  wait_setup
  expect_eq "" "$(message_boxes)" "no message box in $name"
  expect_eq "" "$(suite_start)" "nothing started in $name"
  for picture in 130-architecture 102-main 100-about; do
    local file="$TVX_HOST_DIR/wine-screens/dialogs/$name-$picture.png"
    [ "$(identify -format %w "$file" 2>/dev/null || echo 0)" -gt 200 ] || fail "the picture $file is not a dialog"
  done
  echo "ok: the three dialogs in $name are in build/host/wine-screens/dialogs/"
}
