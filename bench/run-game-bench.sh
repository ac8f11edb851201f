#!/bin/sh
# The running game under Xvfb with a window manager (openbox): CPU and tick pacing
# on the splash and menu, and while a scripted crossing and feeding stage play,
# beside an empty loop that only clears and presents every 30 ms (the floor) and
# the same loop drawing 60 blended pictures (a busy scene), in a window and in full
# screen on two screen sizes; start-up to the first frame and peak memory with
# them. Then the time of a clean build (PONDARO_BENCH_BUILD=0 leaves it out).
set -e
BUILD=${1:-build}
SOURCE=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_EACH=${PACE_SECONDS:-10}
cd "$BUILD/game"
export SDL_AUDIODRIVER=dummy
WM=""
command -v openbox >/dev/null && WM="openbox"
for screen in 1024x768 1920x1080; do
  for display in window full; do
    echo "== $screen, $display${WM:+, $WM}"
    for mode in empty game sprites play; do
      rm -f Config.cfg
      xvfb-run -a -s "-screen 0 ${screen}x24" sh -c "
        ${WM:+$WM >/dev/null 2>&1 & sleep 1}
        ./pondaro-pace $SECONDS_EACH $mode $display" | grep -E "^(empty|game|sprites|crossing|feeding|start-up|peak)[ :]"
    done
  done
done
# The other menu screens (help, options, high scores) in a window, beside the empty loop.
echo "== 1024x768, window, menu screens${WM:+, $WM}"
for scene in empty 5 6 7; do
  rm -f Config.cfg
  mode=game
  [ "$scene" = empty ] && mode=empty && scene=""
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    ${WM:+$WM >/dev/null 2>&1 & sleep 1}
    ./pondaro-pace $SECONDS_EACH $mode window $scene" | sed "s/^game /scene $scene /" | grep -E "^(empty|scene [0-9]+ ) "
done
rm -f Config.cfg
echo "budgets: play CPU <= 10 % of a core and, in a window, within 2 points of empty (3 in full screen);"
echo "         menus within 0.5 points of empty; p99 lateness <= 2 ms, none skipped;"
echo "         start-up to the first frame <= 50 ms; peak resident memory <= 60 MB; clean build <= 180 s"
if [ "${PONDARO_BENCH_BUILD:-1}" != 0 ]; then
  CLEAN=$(mktemp -d /tmp/pondaro-clean-build.XXXXXX)
  start=$(date +%s)
  cmake -S "$SOURCE" -B "$CLEAN" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$CLEAN" >/dev/null
  echo "clean build (everything, assets included): $(( $(date +%s) - start )) s on $(nproc) cores"
  rm -rf "$CLEAN"
fi
