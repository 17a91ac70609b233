#!/usr/bin/env bash
# The editor's command line without a display: help and version print and exit 0, a wrong
# option or a third argument print one line of usage and exit 2, and Qt's own options are taken
# (the window then runs until it is ended). Usage: command_line.sh RUNEPLOT
set -uo pipefail
runeplot=$1
fail() { echo "command_line: $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$runeplot" "$@" >"$out" 2>"$err"; }
work=$(mktemp -d); out=$work/out; err=$work/err
trap 'rm -rf "$work"' EXIT
passed=0
pass() { passed=$((passed + 1)); }

run --help; [ $? -eq 0 ] && grep -q 'FONT' "$out" && ! grep -q -- '-platform' "$out" || fail "--help: $(cat "$out" "$err")"; pass
run --help-all; [ $? -eq 0 ] && grep -q -- '^  -style style ' "$out" && grep -q -- '^  -platform ' "$out" || fail "--help-all: $(cat "$out" "$err")"; pass
run --version; [ $? -eq 0 ] && grep -qx 'runeplot [0-9.]*' "$out" || fail "--version: $(cat "$out" "$err")"; pass
for wrong in "--bogus" "-bogus" "a.gmf b.bmp c" "-style" "-style fusion a.gmf b.bmp c"; do
  # shellcheck disable=SC2086
  run $wrong; status=$?
  [ $status -eq 2 ] || fail "'$wrong' ended with $status"
  [ "$(wc -l <"$err")" -eq 1 ] && grep -q '^runeplot: .*usage: runeplot' "$err" || fail "'$wrong' said: $(cat "$err")"
  pass
done

# Qt's options: the window opens on the offscreen platform and keeps running until it is ended.
printf 'font' > "$work/f.gmf"
mkdir -m 700 "$work/runtime"
for options in "-platform offscreen" "-platform offscreen -style fusion" "-style=fusion -platform offscreen -reverse" \
               "--platform offscreen --style fusion" "-platform=offscreen" "--platform=offscreen:fontengine=freetype -style=fusion"; do
  # shellcheck disable=SC2086
  XDG_RUNTIME_DIR=$work/runtime timeout 3 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$runeplot" $options "$work/f.gmf" >"$out" 2>"$err"
  status=$?
  [ $status -eq 124 ] || fail "'$options f.gmf' ended with $status: $(cat "$out" "$err")"
  # The offscreen plugin's own notice aside, nothing is said.
  ! grep -v 'does not support propagateSizeHints' "$err" || fail "'$options f.gmf' said: $(cat "$err")"
  pass
done
echo "command_line: $passed passed, 0 failed"
