#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the desktop integration there: the entry
# and the metainfo pass their validators, and the MIME package gives *.gmf its type.
# Usage: desktop_files.sh BUILD_DIR
set -euo pipefail
build=$1
fail() { echo "desktop_files: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli update-mime-database; do
  command -v "$tool" >/dev/null || fail "$tool is missing (Debian: desktop-file-utils, appstream, shared-mime-info)"
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
desktop-file-validate "$share/applications/runeplot.desktop" || fail "the desktop entry is not valid"
grep -q '^Exec=runeplot %f$' "$share/applications/runeplot.desktop" || fail "the desktop entry takes no file"
appstreamcli validate --no-net "$share/metainfo/org.runeplot.Runeplot.metainfo.xml" >/dev/null || fail "the metainfo is not valid"
update-mime-database "$share/mime"
grep -q 'application/x-gmf-font:\*\.gmf' "$share/mime/globs2" || fail "*.gmf has no MIME type"
grep -q 'MimeType=application/x-gmf-font;' "$share/applications/runeplot.desktop" || fail "the entry does not name the .gmf type"
echo "desktop_files: 5 passed, 0 failed"
