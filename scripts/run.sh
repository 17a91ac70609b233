#!/usr/bin/env bash
# Installs what is missing, builds the editor, and starts it with the given arguments.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/prepare.sh"
cmake --build "$build" --parallel "$(nproc)" --target programs

# Built first, so that cmake --install works on a machine without a display too.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  hint="run it from a desktop session"
  command -v xvfb-run >/dev/null && hint="$hint, or under xvfb-run"
  echo "runeplot: built $build/app/runeplot, but there is no display to open the window on (DISPLAY is not set); $hint." >&2
  exit 1
fi
exec "$build/app/runeplot" "$@"
