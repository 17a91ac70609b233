#!/usr/bin/env bash
# Runeplot for 64-bit Windows (the editor core, runeplot.exe in Windows' own controls, and
# gmftool.exe): installs what is missing, cross-builds it with MinGW-w64 into build-win/, and then
#   test     (the default) runs its tests under Wine, gmftool.exe beside the Linux gmftool on
#            a font in a Cyrillic-named folder, whose outputs must be byte-identical, and
#            runeplot.exe in a real window under Xvfb beside the Linux window, and the
#            zip's texts and resources;
#   package  makes build-win/runeplot-VERSION-win64.zip (both programs and how to start them).
# Usage: bash scripts/windows.sh [test|package]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
action=${1:-test}
case $action in test|package) ;; *) echo "usage: bash scripts/windows.sh [test|package]" >&2; exit 2 ;; esac
source "$here/prepare.sh" g++-mingw-w64-x86-64-posix wine64 googletest xvfb xdotool imagemagick
win="$root/build-win"

cmake --no-warn-unused-cli -S "$root" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DRUNEPLOT_BUILD_BENCH=OFF -DBUILD_TESTING="$([ "$action" = test ] && echo ON || echo OFF)" >/dev/null
cmake --build "$win" --parallel "$(nproc)" >/dev/null

if [ "$action" = package ]; then
  (cd "$win" && cpack >/dev/null)
  echo "runeplot: made $win/runeplot-$(sed -n 's/^project(Runeplot VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")-win64.zip"
  exit 0
fi

# The Linux gmftool, window and demo font to compare with, and the client that drops files.
cmake --build "$build" --parallel "$(nproc)" --target gmftool runeplot runeplot_demo xdnd_drop >/dev/null

# Wine runs the programs as this user; root would write read-only files all the same, so the
# whole Wine session, its server included, runs without the capabilities that allow that.
export WINEPREFIX="$win/wine" WINEDEBUG=-all LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "runeplot: $wine is missing (Debian: wine64)" >&2; exit 1; }
unprivileged=(setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search)
status=0
"${unprivileged[@]}" bash "$root/tests/windows/under_wine.sh" "$wine" "$win" "$build" || status=1
"${unprivileged[@]}" bash "$root/tests/windows/real_window.sh" "$wine" "$win" "$build" || status=1
bash "$root/tests/windows/package.sh" "$win" || status=1
exit $status
