#!/usr/bin/env bash
# Builds the Windows installer with NSIS (makensis) from the two builds of
# the saver; used by scripts/package and by the installer's end-to-end test.
#   packaging/make-installer.sh OUT.exe VERSION TESSARY32.scr TESSARY64.scr TUNE.mid
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: $0 OUT.exe VERSION TESSARY32.scr TESSARY64.scr TUNE.mid" >&2; exit 2; }
out=$(realpath -m "$1") version=$2
here=$(cd "$(dirname "$0")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# makensis gets plain ASCII paths; the files get their real names on install.
cp "$3" "$stage/tessary32.scr"
cp "$4" "$stage/tessary64.scr"
cp "$5" "$stage/tune.mid"
mkdir -p "$(dirname "$out")"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$out" \
  -DSCR32="$stage/tessary32.scr" -DSCR64="$stage/tessary64.scr" -DTUNE="$stage/tune.mid" \
  "$here/tessary.nsi"
