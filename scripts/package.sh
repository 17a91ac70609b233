#!/usr/bin/env bash
# Installs what is missing, builds the programs and makes the Debian package in build/.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/prepare.sh" file dpkg-dev
cmake --build "$build" --parallel "$(nproc)" --target programs
cd "$build"
cpack -G DEB >/dev/null
deb=$(ls -t "$build"/runeplot_*.deb | head -n 1)
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "runeplot: $deb depends on no Qt library" >&2; exit 1; }
echo "runeplot: made $deb; install it with: apt-get install $deb"
