#!/usr/bin/env bash
# The Windows zip as a user unpacks it: its texts read by Notepad on any Windows (UTF-8 with a
# byte-order mark, CRLF line ends and no other), and both programs with their version and manifest.
# Usage: package.sh BUILD_WIN (run by scripts/windows.sh test, once both programs are built)
set -uo pipefail
win=$1
failed=0
fail() { echo "package (Windows): $*" >&2; failed=1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$win" && cpack -G ZIP -B "$work/cpack" >/dev/null) || { fail "cpack failed"; exit 1; }
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$work"/cpack/*.zip) || { fail "the zip does not unpack"; exit 1; }
cd "$work/zip"
[ "$(ls | sort | tr '\n' ' ')" = "README.md gmftool.exe gmftool.txt runeplot.exe " ] || fail "the zip holds: $(ls | tr '\n' ' ')"

for text in README.md gmftool.txt; do
  [ -f "$text" ] || continue
  [ "$(head -c 3 "$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$text has no byte-order mark"
  lines=$(wc -l <"$text")
  [ "$lines" -gt 10 ] || fail "$text has $lines lines"
  [ "$(grep -c $'\r$' "$text")" -eq "$lines" ] || fail "$text has line feeds without a carriage return"
  [ "$(tr -cd '\r' <"$text" | wc -c)" -eq "$lines" ] || fail "$text has carriage returns without a line feed"
  [ "$(tail -c 2 "$text" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "$text does not end its last line"
done
grep -q 'Правка' README.md && grep -q 'Ctrl+Y' README.md || fail "README.md does not tell of the menu Правка and its keys"
grep -q 'Лупа' README.md && grep -q 'Escape' README.md || fail "README.md does not tell of editing on the picture and the magnifier"

for program in runeplot gmftool; do
  # The version's values are UTF-16 in the resource; the manifest is its XML as it is.
  strings -el "$program.exe" | grep -qx "$program.exe" || fail "$program.exe has no OriginalFilename in a version resource"
  strings -el -n 3 "$program.exe" | grep -qx '1\.1' || fail "$program.exe has no version 1.1"
  grep -qai "name=\"Runeplot.$program\"" "$program.exe" || fail "$program.exe has no manifest of its own"
  grep -qa 'dpiAware' "$program.exe" || fail "$program.exe's manifest does not say it is aware of the screen's density"
  grep -qa '<longPathAware[^>]*>true<' "$program.exe" || fail "$program.exe's manifest does not take names past 260 characters"
done

[ $failed -eq 0 ] && echo "package (Windows): passed"
[ $failed -eq 0 ]
