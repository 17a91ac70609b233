#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "runeplot: no display to open the window on (DISPLAY is not set). Run this from a desktop session, or under xvfb-run." >&2
  exit 1
fi

source "$here/prepare.sh"
exec "$build/app/runeplot" "$@"
