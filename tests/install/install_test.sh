#!/bin/sh
# The installed game, installed as a packager does (a staging root, prefix /usr)
# and run as a new player would.
#
#   install_test.sh ROOT tree CMAKE BUILD  installs BUILD under ROOT
#   install_test.sh ROOT files             layout, icon sizes, desktop entry, AppStream
#   install_test.sh ROOT command-line      --help, --version and bad arguments, no display
#   install_test.sh ROOT run               started from another folder under Xvfb
#
# Exit 77 (skipped) only when Xvfb is missing for the run.
set -eu
ROOT=$1
MODE=$2
PREFIX=$ROOT/usr
GAME=$PREFIX/bin/pondaro
ID=org.pondaro.Pondaro
DESKTOP=$PREFIX/share/applications/$ID.desktop
METAINFO=$PREFIX/share/metainfo/$ID.metainfo.xml

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

scratch() {
  TMP=$(mktemp -d "${TMPDIR:-/tmp}/pondaro-install-XXXXXX")
  trap 'rm -rf "$TMP"' EXIT
}

# Width x height from a PNG's header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}

# Every Config.cfg (or a temporary file of one) under the folders given.
settings_files() {
  find "$@" -name 'Config.cfg*' 2>/dev/null | sort
}

case $MODE in
tree)
  rm -rf "$ROOT"
  DESTDIR=$ROOT "$3" --install "$4" --prefix /usr
  ;;

files)
  [ -x "$GAME" ] || fail "no executable bin/pondaro"
  for f in Data/Graphic.dxg Data/Music.dxw Data/icon.png Music/1.xm Music/2.xm Music/3.xm; do
    [ -s "$PREFIX/share/pondaro/$f" ] || fail "missing share/pondaro/$f"
  done
  # The help page Visit Web Site opens when the game has no home page of its own.
  grep -q "<h2>How a game goes</h2>" "$PREFIX/share/doc/pondaro/README.html" || fail "no share/doc/pondaro/README.html"
  [ -s "$PREFIX/share/doc/pondaro/docs/crossing.png" ] || fail "the help page's pictures are missing"
  for n in 48 64 128 256; do
    icon=$PREFIX/share/icons/hicolor/${n}x$n/apps/$ID.png
    [ -s "$icon" ] || fail "missing the ${n}px icon"
    [ "$(png_size "$icon")" = "${n}x$n" ] || fail "the ${n}px icon is $(png_size "$icon")"
  done
  desktop-file-validate "$DESKTOP" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$METAINFO" || fail "appstreamcli validate"
  # The metadata beside the entry it launches, as a software centre reads them.
  appstreamcli validate-tree --no-net "$PREFIX" >/dev/null || fail "appstreamcli validate-tree"

  # The entry, the metadata and the icons name one another.
  [ "$(sed -n 's/^Icon=//p' "$DESKTOP")" = "$ID" ] || fail "the entry's Icon is not $ID"
  [ -x "$PREFIX/bin/$(sed -n 's/^Exec=//p' "$DESKTOP")" ] || fail "the entry's Exec is not bin/pondaro"
  grep -q '^Categories=.*Game;.*ArcadeGame;' "$DESKTOP" || fail "the entry lacks Game;ArcadeGame;"
  grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$METAINFO" || fail "launchable"
  grep -q "<id>$ID</id>" "$METAINFO" || fail "the metadata's id is not $ID"
  # Nothing of a game that was played is installed with it.
  [ -z "$(settings_files "$ROOT")" ] || fail "installed: $(settings_files "$ROOT")"
  ;;

command-line)
  scratch
  mkdir "$TMP/home" "$TMP/work"
  cd "$TMP/work"
  # No display at all: the answers must come before the game starts SDL.
  run() {
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/home/config" \
      "$GAME" "$@" >"$TMP/out" 2>"$TMP/err" || status=$?
  }
  for help in --help -h; do
    run "$help"
    [ $status = 0 ] || fail "$help: exit status $status"
    head -n 1 "$TMP/out" | grep -q '^Usage: pondaro' || fail "$help: $(head -n 1 "$TMP/out")"
    grep -q -- '--version' "$TMP/out" || fail "$help does not list --version"
    [ ! -s "$TMP/err" ] || fail "$help wrote to stderr: $(cat "$TMP/err")"
  done

  run --version
  [ $status = 0 ] || fail "--version: exit status $status"
  # The version the game reports is the release the metadata announces.
  release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$METAINFO" | head -n 1)
  [ "$(cat "$TMP/out")" = "PONDARO $release" ] || fail "--version says '$(cat "$TMP/out")', the metadata $release"

  for bad in --fullscreen -x extra; do
    run "$bad"
    [ $status = 2 ] || fail "$bad: exit status $status"
    [ ! -s "$TMP/out" ] || fail "$bad wrote to stdout"
    [ "$(wc -l <"$TMP/err")" = 1 ] || fail "$bad: not one line: $(cat "$TMP/err")"
    grep -q -- "'$bad'.*--help" "$TMP/err" || fail "$bad: $(cat "$TMP/err")"
  done
  run --version --bogus
  [ $status = 2 ] || fail "--version --bogus: exit status $status"
  [ -z "$(settings_files "$TMP" "$ROOT")" ] || fail "answering wrote $(settings_files "$TMP" "$ROOT")"
  ;;

run)
  if ! command -v xvfb-run >/dev/null || ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (Debian package xvfb)"
    exit 77
  fi
  scratch
  mkdir "$TMP/home" "$TMP/config" "$TMP/elsewhere"
  cd "$TMP/elsewhere"

  # Starts the installed game with the environment given (env's arguments), leaves it running for a
  # few seconds, then ends it as a desktop logging out does.
  play() {
    env -u SDL_VIDEODRIVER "$@" SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
      "$0" >"$1/log" 2>&1 &
      pid=$!
      window=""
      for i in $(seq 40); do
        window=$(xdotool search --class "^pondaro\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.25
      done
      sleep 3
      if kill -0 $pid 2>/dev/null; then echo running; else echo ended; fi
      echo "window=$window name=$(xdotool getwindowname "$window" 2>/dev/null)"
      kill -TERM $pid 2>/dev/null
      status=0
      wait $pid || status=$?
      echo "status=$status"
    ' "$GAME" "$TMP" >"$TMP/report" 2>&1 || true
    echo "--- $* :"
    cat "$TMP/report"
    grep -q '^running$' "$TMP/report" || fail "the game did not keep running: $(cat "$TMP/log")"
    grep -q '^window=[0-9][0-9]* name=PONDARO$' "$TMP/report" ||
      fail "no window of class pondaro (the entry's StartupWMClass) named PONDARO"
    # Ended cleanly by the signal, or by its default action; never a crash.
    grep -q '^status=\(0\|143\)$' "$TMP/report" || fail "bad exit: $(cat "$TMP/log")"
  }

  # A new player: the settings folder is made, private, and holds the only Config.cfg.
  play HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/config"
  config=$TMP/config/pondaro/Config.cfg
  [ -s "$config" ] || fail "no $config"
  [ "$(settings_files "$TMP" "$ROOT")" = "$config" ] || fail "settings files: $(settings_files "$TMP" "$ROOT")"
  [ "$(stat -c %a "$TMP/config/pondaro")" = 700 ] || fail "the settings folder is $(stat -c %a "$TMP/config/pondaro")"
  [ "$(wc -l <"$config")" = 25 ] || fail "Config.cfg has $(wc -l <"$config") lines"

  # Without XDG_CONFIG_HOME the folder is ~/.config/pondaro, and what is there is
  # read: music switched off there (line 2 set to line 1's "false") stays off.
  mkdir -p "$TMP/home/.config/pondaro"
  sed '1h;2g' "$config" >"$TMP/home/.config/pondaro/Config.cfg"
  rm -rf "$TMP/config"
  kept=$(sed -n 2p "$TMP/home/.config/pondaro/Config.cfg")
  play -u XDG_CONFIG_HOME HOME="$TMP/home"
  config=$TMP/home/.config/pondaro/Config.cfg
  [ "$(settings_files "$TMP" "$ROOT")" = "$config" ] || fail "settings files: $(settings_files "$TMP" "$ROOT")"
  [ "$(sed -n 2p "$config")" = "$kept" ] || fail "the music setting in ~/.config/pondaro was not read back"
  ;;

*)
  fail "unknown mode $MODE"
  ;;
esac
echo "ok: $MODE"
