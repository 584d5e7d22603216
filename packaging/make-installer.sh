#!/usr/bin/env bash
# Builds the Windows installer with NSIS (makensis) from the two builds of
# the saver; used by scripts/package and by the installer's end-to-end test.
# With a release key (scripts/sign), the uninstaller and the installer are
# signed as makensis writes them.
#   packaging/make-installer.sh OUT.exe VERSION TESSARY32.scr TESSARY64.scr TUNE.mid [MAKENSIS-OPTION...]
set -euo pipefail
[ $# -ge 5 ] || { echo "usage: $0 OUT.exe VERSION TESSARY32.scr TESSARY64.scr TUNE.mid [MAKENSIS-OPTION...]" >&2; exit 2; }
out=$(realpath -m "$1") version=$2
here=$(cd "$(dirname "$0")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# makensis gets plain ASCII paths; the files get their real names on install.
cp "$3" "$stage/tessary32.scr"
cp "$4" "$stage/tessary64.scr"
cp "$5" "$stage/tune.mid"
mkdir -p "$(dirname "$out")"
home=$(sed -n 's/^#define TESSARY_HOME_PAGE "\(.*\)"$/\1/p' "$here/../src/config/config_ids.h")
[ -n "$home" ] || { echo "$0: no home page in src/config/config_ids.h" >&2; exit 1; }
sign=()
[ -z "${TESSARY_SIGN_PKCS12:-}${TESSARY_SIGN_PASSWORD+set}" ] || sign=(-DSIGN="$(realpath "$here/../scripts/sign")")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$out" -DHOME_PAGE="$home" "${sign[@]}" \
  -DSCR32="$stage/tessary32.scr" -DSCR64="$stage/tessary64.scr" -DTUNE="$stage/tune.mid" "${@:6}" \
  "$here/tessary.nsi"
