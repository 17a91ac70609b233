#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/prepare.sh"

# The window tests draw offscreen: no display is needed.
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --timeout 300
