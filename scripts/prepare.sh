#!/usr/bin/env bash
# Installs what is missing (Debian), then configures build/; the caller builds what it needs.
# Sourced by run.sh, test.sh, package.sh and windows.sh; takes the extra Debian packages a command needs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

packages=(g++ cmake make qt6-base-dev libgtest-dev libbenchmark-dev libstb-dev nlohmann-json3-dev libfreetype-dev
          fonts-dejavu-core fonts-liberation2 "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  if ! command -v apt-get >/dev/null; then
    echo "runeplot: missing ${missing[*]}, and this is not a Debian system with apt-get: install them by hand." >&2
    exit 1
  fi
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "runeplot: missing ${missing[*]}: run as root or install them." >&2; exit 1; }
    sudo=(sudo)
  fi
  echo "runeplot: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
