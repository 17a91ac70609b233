#!/usr/bin/env bash
# Peak memory of the whole program with the demo font open: the program is started under
# /usr/bin/time -v in a real X window (Xvfb), the font opened through its dialogs, and the
# program ended. Usage: bench/peak_memory.sh BUILD_FOLDER
set -euo pipefail

build=$(cd "$1" && pwd)
fail() { echo "peak_memory: $*" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/x_session.sh"
x_session_check_tools /usr/bin/time

work=$(mktemp -d)
trap 'x_session_stop; rm -rf "$work"' EXIT
cp "$build/examples/demo.gmf" "$work/font1.gmf"
cp "$build/examples/demo.bmp" "$work/font1.bmp"

x_session_start_server
started=$(date +%s%N)
x_session_start_program /usr/bin/time -v -o "$work/time.txt" "$build/app/runeplot"
x_session_find_main_window
shown=$(date +%s%N)
open_font "$work"
sleep 1
if xdotool search --onlyvisible --name '^Ошибка$' >/dev/null 2>&1; then fail "the font did not open"; fi
# The first child of time is the program; ending it lets time write its report.
pkill -TERM -P "$app" || fail "the program is not running"
wait "$app" 2>/dev/null || true
app=

echo "first window shown after about $(((shown - started) / 1000000)) ms (found by polling every 100 ms)"
grep -E "Maximum resident set size" "$work/time.txt" || fail "no report: $(cat "$work/time.txt")"
