#!/usr/bin/env bash
# Runs the README's gmftool examples as written, on a copy of the demo font: each must end with
# the status given below and say the line given below (on standard output, or in the file it
# writes). An example without an expectation here fails, so that the two cannot drift apart.
# Usage: readme_examples.sh README GMFTOOL EXAMPLES
set -euo pipefail
readme=$(realpath "$1"); gmftool_dir=$(cd "$(dirname "$2")" && pwd); examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/build" && cp -r "$examples" "$work/build/examples"
export PATH="$gmftool_dir:$PATH"

# Command (as in the README, without its comment) -> "STATUS|WHERE|LINE": WHERE is "-" for
# standard output or the file written; an empty LINE expects no output at all.
declare -A expect=(
  ["cd build/examples"]="0|-|"
  ["gmftool info demo.gmf"]="0|-|glyph_count: 63"
  ["gmftool info demo.gmf --json"]='0|-|  "table_offset": 44'
  ["gmftool check demo.gmf"]="1|-|glyph 20: its ink runs on past the left edge"
  ["gmftool dump demo.gmf -o demo.txt"]="0|demo.txt|glyph 1: left 2 top 2 right 11.5 aspect 0.59375"
  ["cp demo.gmf before-fit.gmf"]="0|-|"
  ["gmftool fit demo.gmf --glyphs 1-5 --dry-run"]="0|-|glyph 2: left 14 -> 15, right 23.5 -> 22"
  ["gmftool fit demo.gmf --glyphs 1-5 --margin 1"]="0|-|glyph 5: left 51.5 -> 51, right 60.5 -> 60"
  ["gmftool diff before-fit.gmf demo.gmf"]="1|-|glyph 1: left 2 -> 1, right 11.5 -> 11, aspect 0.59375 -> 0.625"
  ["gmftool restore demo.gmf demo.txt"]="0|-|changed 5 glyphs and 0 header values"
  ["gmftool overview demo.gmf -o overview.png --scale 2"]="0|overview.png|PNG 1024 x 1024"
  ["gmftool render demo.gmf --ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf --codepage 1251 --at 1 --from 192 --dry-run"]=$'0|-|1\t\'А\' (U+0410)\t2\t2\t12\t10\tin place\tno'
)

# The signature and the size from a PNG's header.
png_line() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || { echo "not a PNG"; return; }
  local size; size=($(od -An -tu1 -j16 -N8 "$1"))
  echo "PNG $(( (size[2] << 8) | size[3] )) x $(( (size[6] << 8) | size[7] ))"
}

cd "$work"
ran=0
while IFS= read -r line; do
  command=${line%%#*}; command=${command%"${command##*[! ]}"}
  [ -n "${expect[$command]+set}" ] || { echo "readme_examples: no expectation for '$command'" >&2; exit 1; }
  IFS='|' read -r status where wanted <<<"${expect[$command]}"
  set +e; (eval "$command") >"$work/out" 2>"$work/err"; got=$?; set -e
  [ "$got" -eq "$status" ] || { echo "readme_examples: '$command' ended with $got, not $status: $(cat "$work/err")" >&2; exit 1; }
  case $command in cd*) cd build/examples ;; esac
  if [ "$where" = "-" ]; then said=$work/out; else said=$work/said; { [[ $where == *.png ]] && png_line "$where" || cat "$where"; } >"$said"; fi
  if [ -z "$wanted" ]; then
    [ ! -s "$said" ] || { echo "readme_examples: '$command' said: $(cat "$said")" >&2; exit 1; }
  else
    grep -qxF -- "$wanted" "$said" || { echo "readme_examples: '$command' did not say '$wanted' but: $(head -c 600 "$said")" >&2; exit 1; }
  fi
  ran=$((ran + 1))
done < <(sed -n '/^    cd build\/examples$/,/^$/p' "$readme" | sed -e 's/^    //' -e '/^$/d')
[ "$ran" -eq "${#expect[@]}" ] || { echo "readme_examples: the README has $ran examples, this test expects ${#expect[@]}" >&2; exit 1; }
cmp -s "$work/build/examples/demo.gmf" "$work/build/examples/before-fit.gmf" || { echo "readme_examples: the restore did not undo the fit" >&2; exit 1; }
echo "readme_examples: $ran passed, 0 failed"
