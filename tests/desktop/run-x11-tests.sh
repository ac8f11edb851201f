#!/bin/sh
# The window tests that need a real X server (X11Window.*), under Xvfb on a
# 1920 x 1080 screen: once bare, as in a kiosk, and once with a window manager.
# Exit 77 (skipped) when Xvfb is not installed.
TESTS=${1:?path to pondaro_tests}
command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
SCREEN="-screen 0 1920x1080x24"
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT
# Every test must really have run: a test that skips itself found no X server.
check() {
  cat "$OUT"
  ran=$(sed -n 's/^\[==========\] Running \([0-9]*\) tests\{0,1\} from.*/\1/p' "$OUT")
  [ -n "$ran" ] && grep -q "^\[  PASSED  \] $ran tests\{0,1\}\.$" "$OUT" && ! grep -q "SKIPPED" "$OUT"
}
# A window manager on a busy machine can be slow to answer: each half gets a
# second try, and a real fault fails both.
bare() { timeout 120 xvfb-run -a -s "$SCREEN" "$TESTS" --gtest_filter='X11Window.*' >"$OUT" 2>&1; check; }
managed() {
  PONDARO_TEST_WM=openbox timeout 120 xvfb-run -a -s "$SCREEN" \
    sh -c "openbox >/dev/null 2>&1 & exec \"$TESTS\" --gtest_filter='X11Window.*'" >"$OUT" 2>&1
  check
}
echo "== without a window manager"
bare || { echo "== again"; bare; } || exit 1
if command -v openbox >/dev/null; then
  echo "== with openbox"
  managed || { echo "== again"; managed; } || exit 1
else
  echo "openbox is not installed: the window-manager half is skipped"
fi
