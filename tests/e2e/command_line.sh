#!/usr/bin/env bash
# The editor's command line without a display: help and version print and exit 0, a wrong
# option or a third argument print one line of usage and exit 2. Usage: command_line.sh RUNEPLOT
set -uo pipefail
runeplot=$1
fail() { echo "command_line: $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$runeplot" "$@" >"$out" 2>"$err"; }
out=$(mktemp); err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

run --help; [ $? -eq 0 ] && grep -q 'FONT' "$out" || fail "--help: $(cat "$out" "$err")"
run --version; [ $? -eq 0 ] && grep -qx 'runeplot [0-9.]*' "$out" || fail "--version: $(cat "$out" "$err")"
for wrong in "--bogus" "a.gmf b.bmp c"; do
  # shellcheck disable=SC2086
  run $wrong; status=$?
  [ $status -eq 2 ] || fail "'$wrong' ended with $status"
  [ "$(wc -l <"$err")" -eq 1 ] && grep -q '^runeplot: .*usage: runeplot' "$err" || fail "'$wrong' said: $(cat "$err")"
done
echo "command_line: 4 passed, 0 failed"
