#!/bin/sh
# Writes every sound effect and the first 30 s of each song into BUILD/sounds as
# WAV files, and prints each one's length, peak and RMS.
set -e
BUILD=${1:-build}
OUT=$(cd "$BUILD" && pwd)/sounds
mkdir -p "$OUT"
cd "$BUILD/game"
./pondaro-sounds "$OUT" 30
echo "wrote $OUT"
