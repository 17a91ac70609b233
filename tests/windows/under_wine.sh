#!/usr/bin/env bash
# The Windows build's unit tests under Wine, then gmftool.exe beside the Linux gmftool on the
# same files in a folder with a Cyrillic name and spaces: the outputs must be byte-identical.
# Usage: under_wine.sh WINE BUILD_WIN BUILD_LINUX (run by scripts/windows.sh)
set -uo pipefail
wine=$1; win=$2; build=$3
passed=0; failed=0
pass() { passed=$((passed + 1)); }
fail() { echo "windows: $*" >&2; failed=$((failed + 1)); }

"$(dirname "$wine")/wineserver" -k 2>/dev/null  # a server left from before may hold more rights
for suite in runtime_tests font_tests picture_tests glyphs_tests gmftool_tests editor_tests win32_tests; do
  if "$wine" "$win/tests/$suite.exe" >"$win/$suite.log" 2>&1 && grep -q '^\[  PASSED  \]' "$win/$suite.log"; then
    pass; echo "windows: $suite: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$win/$suite.log")"
  else
    tail -n 30 "$win/$suite.log" >&2; fail "$suite failed under Wine"
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="Шрифты мода"
for side in linux windows; do
  mkdir -p "$work/$side/$folder"
  cp "$build/examples/demo.gmf" "$work/$side/$folder/мой шрифт.gmf"
  cp "$build/examples/demo.bmp" "$work/$side/$folder/мой шрифт.bmp"
  cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$work/$side/$folder/шрифт.ttf"
done
font="$folder/мой шрифт.gmf"
# Runs one gmftool call on each side, from the side's folder, and records output and status.
both() {
  local name=$1; shift
  (cd "$work/linux" && "$build/gmftool/gmftool" "$@" <"${input:-/dev/null}" >"$work/$name.linux" 2>/dev/null; echo $? >"$work/$name.linux.status")
  (cd "$work/windows" && "$wine" "$win/gmftool/gmftool.exe" "$@" <"${input:-/dev/null}" >"$work/$name.windows" 2>/dev/null; echo $? >"$work/$name.windows.status")
  if cmp -s "$work/$name.linux" "$work/$name.windows" && cmp -s "$work/$name.linux.status" "$work/$name.windows.status"; then
    pass
  else
    fail "gmftool $name: the Windows output or status differs from the Linux one"
  fi
}
same_file() {
  if cmp -s "$work/linux/$1" "$work/windows/$1"; then pass; else fail "$1 differs between Linux and Windows"; fi
}
both info info "$font"
both check check "$font"
both dump dump "$font" -o "$folder/dump.txt"; same_file "$folder/dump.txt"
both fit fit "$font" --glyphs 1-20 --margin 1; same_file "$font"
both overview overview "$font" -o "$folder/overview.png" --scale 2; same_file "$folder/overview.png"
both restore restore "$font" "$folder/dump.txt"; same_file "$font"
cmp -s "$work/windows/$font" "$build/examples/demo.gmf" && pass || fail "the restore did not bring back the font"
# The dump as Notepad saves it (a byte-order mark, CRLF), read from standard input, which ends at
# its end and not at a Ctrl+Z byte.
for side in linux windows; do
  { printf '\xEF\xBB\xBF'; sed -e '1a # \x1a\r' -e 's/$/\r/' "$work/$side/$folder/dump.txt"; } >"$work/$side/$folder/notepad.txt"
done
both fit-again fit "$font" --glyphs 1-20 --margin 2; same_file "$font"
input="$folder/notepad.txt" both restore-stdin restore "$font" -; same_file "$font"
cmp -s "$work/windows/$font" "$build/examples/demo.gmf" && pass || fail "the restore from standard input did not bring back the font"

# Bad input: a clear line and status 2, nothing written.
cd "$work/windows"
mkdir -p "folder.gmf"
cp "$font" "$folder/только чтение.gmf"; chmod a-w "$folder/только чтение.gmf"
before=$(md5sum "$folder/только чтение.gmf")
for call in "info missing.gmf" "dump folder.gmf" "restore|$folder/только чтение.gmf|$folder/dump.txt" \
            "fit|$folder/только чтение.gmf|--picture|$folder/мой шрифт.bmp" "dump|$font|-o|bad?name.txt" "dump|$font|-o|a<b>.txt" \
            "restore|$folder/только чтение.gmf|$folder/dump.txt|--dry-run" \
            "fit|$folder/только чтение.gmf|--picture|$folder/мой шрифт.bmp|--dry-run"; do
  IFS='|' read -r -a arguments <<<"${call// /|}"
  [[ $call == *"|"* ]] && IFS='|' read -r -a arguments <<<"$call"
  "$wine" "$win/gmftool/gmftool.exe" "${arguments[@]}" >/dev/null 2>"$work/err"; status=$?
  if [ $status -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q '^gmftool: ' "$work/err"; then pass
  else fail "gmftool ${arguments[*]}: status $status, said: $(cat "$work/err")"; fi
done
[ "$before" = "$(md5sum "$folder/только чтение.gmf")" ] && pass || fail "a read-only font was written"

# A folder given as a font is named as one, by every subcommand.
for call in "info folder.gmf" "check folder.gmf" "dump folder.gmf" "fit folder.gmf" "restore|folder.gmf|$folder/dump.txt"; do
  IFS='|' read -r -a arguments <<<"${call// /|}"
  [[ $call == *"|"* ]] && IFS='|' read -r -a arguments <<<"$call"
  "$wine" "$win/gmftool/gmftool.exe" "${arguments[@]}" >/dev/null 2>"$work/err"; status=$?
  if [ $status -eq 2 ] && grep -q 'folder.gmf: it is a folder' "$work/err"; then pass
  else fail "gmftool ${arguments[*]}: status $status, said: $(cat "$work/err")"; fi
done

# Outputs that cannot be written: a failure with its reason, and an older file left as it was.
for call in "info|$font" "dump|$font" "--version"; do
  IFS='|' read -r -a arguments <<<"$call"
  "$wine" "$win/gmftool/gmftool.exe" "${arguments[@]}" >/dev/full 2>"$work/err"; status=$?
  if [ $status -eq 2 ] && grep -q '^gmftool: cannot write standard output: ' "$work/err"; then pass
  else fail "gmftool ${arguments[*]} >/dev/full: status $status, said: $(cat "$work/err")"; fi
done
mkdir -p "старое"; printf 'old backup\n' >"старое/копия.txt"; cp "старое/копия.txt" "старое/копия.png"; chmod a-w "старое"
for call in "dump|$font|-o|старое/копия.txt" "overview|$font|-o|старое/копия.png"; do
  IFS='|' read -r -a arguments <<<"$call"
  "$wine" "$win/gmftool/gmftool.exe" "${arguments[@]}" >/dev/null 2>"$work/err"; status=$?
  if [ $status -eq 2 ] && [ "$(cat "${arguments[3]}")" = "old backup" ] && [ "$(ls "старое" | wc -l)" -eq 2 ]; then pass
  else fail "gmftool ${arguments[*]} in a folder without write rights: status $status, said: $(cat "$work/err")"; fi
done
chmod u+w "старое"
"$wine" "$win/gmftool/gmftool.exe" dump "$font" -o "старое/копия.txt" 2>"$work/err" \
  && cmp -s "старое/копия.txt" "$work/linux/$folder/dump.txt" && [ "$(ls "старое" | wc -l)" -eq 2 ] && pass \
  || fail "gmftool dump -o over an older file did not replace it: $(cat "$work/err")"
ls | grep -q 'bad\|a<b' && fail "a file with a name Windows refuses was made" || pass

# Glyphs drawn by FreeType: the same texture, font and backups, byte for byte. Last, as they
# change the font that the steps above dump.
texture="$folder/мой шрифт.bmp"
both render-dry render "$font" --ttf "$folder/шрифт.ttf" --codepage 1251 --at 1 --from 192 --dry-run; same_file "$texture"
both render render "$font" --ttf "$folder/шрифт.ttf" --codepage 1251 --at 1 --from 192 --clip
same_file "$font"; same_file "$texture"; same_file "$font.bak"; same_file "$texture.bak"
both render-mono render "$font" --ttf "$folder/шрифт.ttf" --chars "ŁŚŻ" --at 3 --px 14 --hinting full --mono --width ink --pad 1 --space --clip
same_file "$font"; same_file "$texture"
both render-missing render "$font" --ttf "$folder/шрифт.ttf" --chars "A一" --at 1; same_file "$texture"
# The game's TGA at twice the size, 32 bits with alpha in run-length packets, by --picture.
tga="$folder/мой шрифт.tga"
convert "$build/examples/demo.bmp" -scale 200% -alpha set -compress RLE "$work/linux/$tga"
cp "$work/linux/$tga" "$work/windows/$tga"
both render-tga render "$font" --picture "$tga" --ttf "$folder/шрифт.ttf" --chars "ĄĘ" --at 5 --px 28 --clip
same_file "$font"; same_file "$tga"

echo "windows: $passed passed, $failed failed"
[ $failed -eq 0 ]
