#!/bin/sh
# Runs every scenario script here and the screenshot scripts with the stock
# runner, each in a fresh folder that holds only the game's data: a script ends
# with status 0 unless its "# exit status: N" line says otherwise. Every replay a
# script writes is then checked with `pondaro --verify` and played in the (dummy)
# window with `pondaro --replay`, which ends with it, quietly.
set -u
GAME=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
status=0
for script in "$HERE"/*.txt "$HERE"/../../tools/shots/scenarios/*.txt; do
  dir=$(mktemp -d /tmp/pondaro-scenario-XXXXXX)
  ln -s "$GAME/Data" "$dir/Data"
  ln -s "$GAME/Music" "$dir/Music"
  expected=$(sed -n 's/^# exit status: //p' "$script")
  (cd "$dir" && "$GAME/pondaro-shots" "$script" "$dir/out" >"$dir/log" 2>&1)
  got=$?
  for replay in "$dir"/out/*.pdr; do
    [ -e "$replay" ] || continue
    if ! (cd "$dir" && "$GAME/pondaro" --verify "$replay" >>"$dir/log" 2>&1); then
      echo "   $(basename "$replay") does not verify" >>"$dir/log"; got=99
    fi
    # Under the sanitizers, the leak checker's list of the libraries' known leaks is not the game's output.
    if ! (cd "$dir" && LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0" \
            "$GAME/pondaro" --replay "$replay" >"$dir/watched" 2>&1) || [ -s "$dir/watched" ]; then
      echo "   $(basename "$replay") does not play to its end quietly:" >>"$dir/log"
      cat "$dir/watched" >>"$dir/log"; got=98
    fi
  done
  if [ "$got" = "${expected:-0}" ]; then
    echo "ok   $(basename "$script")"
  else
    echo "FAIL $(basename "$script") (status $got):"; cat "$dir/log"; status=1
  fi
  rm -rf "$dir"
done
exit $status
