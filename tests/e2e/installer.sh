#!/usr/bin/env bash
# End-to-end test of the Windows installer under Wine, in the prefix and the
# display scripts/test prepared: the file identity of both builds, then the
# installer built from them and run with /S, the installed 64-bit saver run
# from the 64-bit system folder, and the uninstaller with /S.
# Arguments: tessary.scr of the 32-bit and of the 64-bit build, the default
# tune, the probe, the version, and optionally an installer already built
# from them (scripts/package), which is then tested instead of a new one.
set -uo pipefail
. "${0%/*}/../../scripts/host-env"  # wine: the loader this host runs
scr32=$1 scr64=$2 tune=$3 probe_exe=$4 version=$5 built=${6:-}
system64=${WINEPREFIX:?}/drive_c/windows/system32 folder="$WINEPREFIX/drive_c/Program Files/Tessary"
work=$(mktemp -d /tmp/tessary-installer.XXXXXX) setup=tessary-$version-setup.exe failed=0
user_key='HKCU\Software\Quorvane\Skylumen\Tessery' uninstall='"C:\Program Files\Tessary\uninstall.exe"'
trap '{ wine_kill tessary.scr; wine reg delete "$user_key" /f; } >/dev/null 2>&1; rm -rf "$work"' EXIT
check() { if "${@:2}"; then echo "  ok   $1"; else failed=$((failed + 1)) && echo "  FAIL $1"; fi; }
retry() { local n=50; until "$@"; do n=$((n - 1)) && [ $n -gt 0 ] && sleep 0.2 || return 1; done; }
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessary'
entries() {  # name, value...: the uninstall entry in the 64-bit view has them all
  local out; out=$(wine reg query "$key" /reg:64 2>/dev/null | tr -d '\r') || return 1
  while [ $# -gt 0 ]; do grep -qxF "    $1    REG_SZ    $2" <<<"$out" || return 1; shift 2; done
}

# The version resource and the name Windows lists the saver under.
fixed=$(printf '%04x%04x00000000' "${version%.*}" "${version#*.}")
identity="file $fixed product $fixed translation 04b00411 FileVersion=$version \
ProductVersion=$version ProductName=Tessary OriginalFilename=tessary.scr string 1=Tessary"
for f in "$scr32" "$scr64"; do check "$f: its identity" [ "$(probe identity "$f" | paste -sd' ')" = "$identity" ]; done

if [ -n "$built" ]; then
  cp "$built" "$work/$setup" || exit 1
else
  "${0%/*}"/../../packaging/make-installer.sh "$work/$setup" "$version" "$scr32" "$scr64" "$tune" || exit 1
fi
wine reg add "$user_key" /v BlackHall /t REG_DWORD /d 0 /f >/dev/null 2>&1
check "/S installs" wine "$work/$setup" /S
check "the 64-bit saver is in the 64-bit system folder" cmp "$scr64" "$system64/tessary.scr"
check "the tune lies beside it" cmp "$tune" "$system64/${tune##*/}"
check "the uninstall entry names it, its version and its uninstaller" entries DisplayName Tessary \
  DisplayVersion "$version" UninstallString "$uninstall" QuietUninstallString "$uninstall /S"

# As Windows starts it: a 64-bit process from the 64-bit system folder.
(cd "$work" && /usr/lib/wine/wine64 'C:\windows\system32\tessary.scr' /s >/dev/null 2>&1) &
running() { probe activate SkylumenClass 1000; [ "$(probe display-mode)" = 640x480 ]; }
check "the installed saver takes the screen at 640x480" retry running
lit() { [ "$(convert "$work/tessary.bmp" -threshold 0 -format '%[fx:mean>0.02]' info:)" = 1 ]; }
xdotool mousemove 310 310 key F10
check "its F10 snapshot shows the page" retry lit 2>/dev/null
xdotool mousemove 300 300 click 1
check "a click ends it" wine "$probe_exe" wait-gone SkylumenClass 15000

check "/S uninstalls" wine "$folder/uninstall.exe" /S
gone() { [ ! -e "$system64/tessary.scr" ] && [ ! -e "$system64/${tune##*/}" ] && [ ! -e "$folder" ] && ! entries; }
check "the saver, the tune, the uninstaller and the entry are gone" retry gone
check "the user's settings stay" grep -q 'BlackHall *REG_DWORD *0x0' <(wine reg query "$user_key")
[ "$failed" -eq 0 ]
