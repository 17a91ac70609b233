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
source "$here/prepare.sh" g++-mingw-w64-x86-64-posix wine64 googletest xvfb xdotool imagemagick dpkg-dev xz-utils
win="$root/build-win"

# FreeType for the target: the very version Linux draws with, from Debian's source package (its
# patches applied), built static; nothing of it is kept in the repository.
freetype_version=$(dpkg-query -W -f='${Version}' libfreetype-dev)
freetype="$win/freetype-$freetype_version"
if [ ! -f "$freetype/lib/libfreetype.a" ]; then
  sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  if [ -z "$(apt-cache showsrc "freetype=$freetype_version" 2>/dev/null)" ]; then
    # The binary sources again, as source ones.
    sources=/etc/apt/sources.list.d/runeplot-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | "${sudo[@]}" tee "$sources" >/dev/null
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | "${sudo[@]}" tee "${sources%.sources}.list" >/dev/null
    fi
    "${sudo[@]}" apt-get update -qq
  fi
  rm -rf "$win/freetype-source" && mkdir -p "$win/freetype-source"
  (cd "$win/freetype-source" && apt-get source -qq "freetype=$freetype_version" >/dev/null 2>&1) ||
    { echo "runeplot: apt-get source freetype=$freetype_version failed (is a deb-src source reachable?)" >&2; exit 1; }
  source_dir=$(find "$win/freetype-source" -mindepth 1 -maxdepth 1 -type d -name 'freetype-*')
  # Only what Debian's library draws with: no compressed, PNG or WOFF2 fonts, and so no DLLs.
  cmake --no-warn-unused-cli -S "$source_dir" -B "$win/freetype-build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$freetype" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >/dev/null
  cmake --build "$win/freetype-build" --parallel "$(nproc)" >/dev/null
  cmake --install "$win/freetype-build" >/dev/null
fi

cmake --no-warn-unused-cli -S "$root" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DRUNEPLOT_FREETYPE_PREFIX="$freetype" -DRUNEPLOT_BUILD_BENCH=OFF -DBUILD_TESTING="$([ "$action" = test ] && echo ON || echo OFF)" >/dev/null
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
