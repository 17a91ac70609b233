#!/usr/bin/env bash
# Runs the README's gmftool examples as written, on a copy of the demo font: each must end with
# status 0 or 1 (differences or problems found), never 2. Usage: readme_examples.sh README GMFTOOL EXAMPLES
set -euo pipefail
readme=$1; gmftool_dir=$(dirname "$2"); examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/build" && cp -r "$examples" "$work/build/examples"
export PATH="$gmftool_dir:$PATH"
cd "$work"
ran=0
while IFS= read -r line; do
  command=${line%%#*}
  set +e; (eval "$command") >/dev/null 2>"$work/err"; status=$?; set -e
  [ "$status" -le 1 ] || { echo "readme_examples: '$command' ended with $status: $(cat "$work/err")" >&2; exit 1; }
  case $command in cd*) cd build/examples ;; esac
  ran=$((ran + 1))
done < <(sed -n '/^    cd build\/examples$/,/^$/p' "$readme" | sed -e 's/^    //' -e '/^$/d')
[ "$ran" -ge 10 ] || { echo "readme_examples: found only $ran examples" >&2; exit 1; }
cmp -s "$work/build/examples/demo.gmf" "$work/build/examples/before-fit.gmf" || { echo "readme_examples: the restore did not undo the fit" >&2; exit 1; }
[ -s "$work/build/examples/overview.png" ] || { echo "readme_examples: no overview.png" >&2; exit 1; }
echo "readme_examples: $ran passed, 0 failed"
