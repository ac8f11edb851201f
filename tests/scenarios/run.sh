#!/bin/sh
# Runs every scenario script here and the screenshot scripts with the stock
# runner, each in a fresh folder that holds only the game's data: any status but
# 0 fails.
set -u
GAME=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
status=0
for script in "$HERE"/*.txt "$HERE"/../../tools/shots/scenarios/*.txt; do
  dir=$(mktemp -d /tmp/pondaro-scenario-XXXXXX)
  ln -s "$GAME/Data" "$dir/Data"
  ln -s "$GAME/Music" "$dir/Music"
  if (cd "$dir" && "$GAME/pondaro-shots" "$script" "$dir/out" >"$dir/log" 2>&1); then
    echo "ok   $(basename "$script")"
  else
    echo "FAIL $(basename "$script") (status $?):"; cat "$dir/log"; status=1
  fi
  rm -rf "$dir"
done
exit $status
