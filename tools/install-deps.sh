#!/bin/sh
# Installs the Debian packages the game needs to build, test and run, if any are missing.
set -e
PKGS="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libxmp-dev libcurl4-openssl-dev
libfontconfig-dev libx11-dev libxext-dev libcairo2-dev zlib1g-dev libpng-dev fonts-leckerli-one fonts-dejavu-core xvfb xauth xdg-utils xdotool openbox
desktop-file-utils appstream cmark-gfm
libmicrohttpd-dev libssl-dev libsqlite3-dev libpqxx-dev nlohmann-json3-dev postgresql chromium nginx"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" = 0 ]; then SUDO=""; elif command -v sudo >/dev/null; then SUDO="sudo"; else
  echo "Missing packages:$missing (run as root or install sudo)" >&2; exit 1; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
