#!/bin/sh
# The running game under Xvfb: CPU and tick pacing on the splash and menu, beside
# an empty loop that only clears and presents every 30 ms (the floor).
set -e
BUILD=${1:-build}
cd "$BUILD/game"
export SDL_AUDIODRIVER=dummy
rm -f Config.cfg
xvfb-run -a -s "-screen 0 1024x768x24" ./pondaro-pace 10 empty
xvfb-run -a -s "-screen 0 1024x768x24" ./pondaro-pace 10 game
