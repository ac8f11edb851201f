#!/bin/sh
# The running game under Xvfb with a window manager (openbox): CPU and tick pacing
# on the splash and menu, beside an empty loop that only clears and presents every
# 30 ms (the floor), in a window and in full screen on two screen sizes.
set -e
BUILD=${1:-build}
SECONDS_EACH=${PACE_SECONDS:-10}
cd "$BUILD/game"
export SDL_AUDIODRIVER=dummy
WM=""
command -v openbox >/dev/null && WM="openbox"
for screen in 1024x768 1920x1080; do
  for display in window full; do
    echo "== $screen, $display${WM:+, $WM}"
    for mode in empty game; do
      rm -f Config.cfg
      xvfb-run -a -s "-screen 0 ${screen}x24" sh -c "
        ${WM:+$WM >/dev/null 2>&1 & sleep 1}
        ./pondaro-pace $SECONDS_EACH $mode $display" | grep -E "^(empty|game) "
    done
  done
done
rm -f Config.cfg
