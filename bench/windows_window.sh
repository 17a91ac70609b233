#!/usr/bin/env bash
# runeplot.exe under Wine beside the Linux window: the time from start to the window painted with
# the demo font open (runeplot FONT PICTURE, the texture seen on the screen), the peak resident
# memory with that font open, and each program's size stripped, beside the floor: an empty Win32
# window of the same title, size and background with a one-item menu bar, started the same way.
# Wine's own server start is kept out: the server stays up and one run warms it first. Usage:
#   bash bench/windows_window.sh BUILD_WIN BUILD_LINUX [RUNS]   (after scripts/windows.sh test)
set -euo pipefail

win=$(cd "$1" && pwd); build=$(cd "$2" && pwd); runs=${3:-5}
fail() { echo "windows_window: $*" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/x_session.sh"
x_session_check_tools /usr/bin/time x86_64-w64-mingw32-g++-posix
wine=/usr/lib/wine/wine64
export WINEPREFIX=${WINEPREFIX:-$win/wine} WINEDEBUG=-all

work=$(mktemp -d)
trap 'x_session_stop; "$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/examples/demo.gmf" "$work/font1.gmf"
cp "$build/examples/demo.bmp" "$work/font1.bmp"
[ -d "$WINEPREFIX" ] || fail "no Wine prefix at $WINEPREFIX: run scripts/windows.sh test first, or set WINEPREFIX"

x86_64-w64-mingw32-g++-posix -O2 -static -municode -mwindows -s "$(dirname "${BASH_SOURCE[0]}")/empty_window_win32.cpp" \
  -o "$work/empty_window.exe" || fail "cannot build the empty window"

x_session_start_server
"$(dirname "$wine")/wineserver" -p

# Milliseconds from the start of "$@" until Picture1's top left shows the texture, not the
# placeholder; the program is then ended. $peak gets its peak resident memory in kB.
painted_after() {
  local started shown
  started=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/peak" "$@" >"$work/app.log" 2>&1 &
  app=$!
  local window=""
  for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --name '^Runeplot 1.1$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.005
  done
  [ -n "$window" ] || fail "no window: $(cat "$work/app.log")"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The placeholder's last column, one pixel right of the picture, turns to the group's colour
  # when the picture is shown in its place.
  for _ in $(seq 200); do
    colour=$(import -window root -crop "1x1+$((X + 8 + 512))+$((Y + HEIGHT - 536 + 300))" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]*')
    [ "$colour" = "#E0E0E0" ] && break
  done
  [ "$colour" = "#E0E0E0" ] || fail "the picture was not shown: $(cat "$work/app.log")"
  shown=$(date +%s%N)
  sleep 1  # the font stays open a moment, as a user keeps it
  pkill -TERM -P "$app" || true
  wait "$app" 2>/dev/null || true
  app=
  peak=$(tail -n 1 "$work/peak")
  echo $(((shown - started) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

painted_after "$wine" "$win/win32/runeplot.exe" "Z:$work/font1.gmf" "Z:$work/font1.bmp" >/dev/null  # warms Wine
for _ in $(seq "$runs"); do painted_after "$wine" "$win/win32/runeplot.exe" "Z:$work/font1.gmf" "Z:$work/font1.bmp"; done >"$work/windows.ms"
windows_peak=$peak
for _ in $(seq "$runs"); do painted_after "$wine" "$work/empty_window.exe"; done >"$work/empty.ms"
empty_peak=$peak
for _ in $(seq "$runs"); do
  painted_after env LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$build/app/runeplot" "$work/font1.gmf" "$work/font1.bmp"
done >"$work/linux.ms"
linux_peak=$peak

x86_64-w64-mingw32-strip -o "$work/runeplot.exe" "$win/win32/runeplot.exe"
strip -o "$work/runeplot" "$build/app/runeplot"
row() { printf '%-28s %12s %14s %12s\n' "$@"; }
row "" "runeplot.exe" "empty (Win32)" "runeplot (Qt)"
row "start to painted (median ms)" "$(median <"$work/windows.ms")" "$(median <"$work/empty.ms")" "$(median <"$work/linux.ms")"
row "peak resident memory (kB)" "$windows_peak" "$empty_peak" "$linux_peak"
row "program size stripped (kB)" "$(($(stat -c %s "$work/runeplot.exe") / 1024))" "$(($(stat -c %s "$work/empty_window.exe") / 1024))" \
  "$(($(stat -c %s "$work/runeplot") / 1024))"
echo "(Wine's server kept running and warmed by one run; the Qt program also maps Qt's libraries, not counted in its size)"
