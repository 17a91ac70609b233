#!/usr/bin/env bash
# The editor's cold start, from its start to its first painted frame, and its peak memory, beside
# an empty Qt window of the same size with a one-item menu bar, both started the same way in a
# fresh process under Xvfb and placed at the screen's corner. Each runs RUNS times (default 15)
# in turn; the medians and their ratios are printed.
# Usage: bench/cold_start.sh BUILD_FOLDER [RUNS]
set -euo pipefail

build=$(cd "$1" && pwd)
runs=${2:-15}
fail() { echo "cold_start: $*" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/x_session.sh"
x_session_check_tools
for program in app/runeplot bench/empty_window bench/first_frame; do
  [ -x "$build/$program" ] || fail "$build/$program is not built (cmake --build $1 --target runeplot empty_window first_frame)"
done

work=$(mktemp -d)
trap 'x_session_stop; rm -rf "$work"' EXIT
cp "$build/examples/demo.gmf" "$work/font1.gmf"
cp "$build/examples/demo.bmp" "$work/font1.bmp"
mkdir -m 700 "$work/runtime"
x_session_start_server

# A pixel of the client area's background, right of the texture panel, in both windows.
watch=(700 24)
settle_ms=1000
measure() {  # name, program and its arguments: one line of "first_frame_ms N peak_kb N"
  local name=$1; shift
  env -u QT_QPA_PLATFORMTHEME -u XDG_CURRENT_DESKTOP LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$work/runtime" "$build/bench/first_frame" "${watch[@]}" "$settle_ms" "$@" -qwindowgeometry +0+0 \
    >>"$work/$name" || fail "$name: $*"
}
for _ in $(seq "$runs"); do
  measure empty "$build/bench/empty_window"
  measure editor "$build/app/runeplot"
  measure editor_font "$build/app/runeplot" "$work/font1.gmf"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { awk -v f="$2" '{ for (i = 1; i < NF; i++) if ($i == f) print $(i + 1) }' "$work/$1" | median; }
empty_ms=$(field empty first_frame_ms); empty_kb=$(field empty peak_kb)
printf '%-34s %10s %10s %8s %8s\n' "median of $runs runs" "first frame" "peak" "x time" "x memory"
for name in empty editor editor_font; do
  ms=$(field "$name" first_frame_ms); kb=$(field "$name" peak_kb)
  label=$([ "$name" = empty ] && echo "empty window" || { [ "$name" = editor ] && echo "runeplot" || echo "runeplot font1.gmf (with its BMP)"; })
  printf '%-34s %8.1f ms %7.1f MB %8.2f %8.2f\n' "$label" "$ms" "$(echo "$kb / 1024" | bc -l)" \
    "$(echo "$ms / $empty_ms" | bc -l)" "$(echo "$kb / $empty_kb" | bc -l)"
done
