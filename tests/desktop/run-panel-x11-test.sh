#!/bin/sh
# The game's message panel in a real window under Xvfb (X11MessagePanel.*).
# Exit 77 (skipped) when Xvfb is not installed.
TESTS=${1:?path to pondaro_tests}
command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed: skipped"; exit 77; }
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$TESTS" --gtest_filter='X11MessagePanel.*' >"$OUT" 2>&1
status=$?
cat "$OUT"
# It must really have run: a test that skips itself found no X server.
[ $status -eq 0 ] && grep -q "^\[  PASSED  \] 1 test" "$OUT" && ! grep -q "SKIPPED" "$OUT"
