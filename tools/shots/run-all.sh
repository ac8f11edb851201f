#!/bin/sh
# Writes a PNG of every scene into BUILD/shots from the scenario scripts.
set -e
BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=$(cd "$BUILD" && pwd)/shots
mkdir -p "$OUT"
cd "$BUILD/game"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# The scenarios start without settings; the settings of games played here
# (`make play`) are put back afterwards.
[ ! -f Config.cfg ] || mv Config.cfg Config.cfg.played
trap 'rm -f Config.cfg; [ ! -f Config.cfg.played ] || mv Config.cfg.played Config.cfg' EXIT
./pondaro-shots --backdrop "$OUT/backdrop.png"
echo "wrote $OUT/backdrop.png"
for script in "$ROOT"/tools/shots/scenarios/*.txt; do
  # Each scenario starts from the same settings: none.
  rm -f Config.cfg
  echo "== $(basename "$script")"
  ./pondaro-shots "$script" "$OUT"
done
# The score service's pages, as headless Chromium shows them.
"$OUT/../server/pondaro-scores-shot" "$OUT"
