#!/usr/bin/env bash
# End-to-end test of the Windows installer under Wine, in the prefix and the
# display scripts/test prepared: the file identity of both builds, then the
# installer built from them and run with /S, the installed 64-bit saver run
# from the 64-bit system folder; an install and an uninstall while the saver
# is in use, and a restart; an install for ARM64 (the machine given through
# the installer's test seam, as Wine runs on x64 only) into a folder /D
# names, and its uninstall.
# Arguments: tessary.scr of the 32-bit and of the 64-bit build, the default
# tune, the probe, the version, and optionally an installer already built
# from them (scripts/package), which is then tested instead of a new one.
set -uo pipefail
. "${0%/*}/../../scripts/host-env"  # wine: the loader this host runs
scr32=$1 scr64=$2 tune=$3 probe_exe=$4 version=$5 built=${6:-}
system64=${WINEPREFIX:?}/drive_c/windows/system32 folder="$WINEPREFIX/drive_c/Program Files/Tessary"
work=$(mktemp -d /tmp/tessary-installer.XXXXXX) setup=tessary-$version-setup.exe failed=0
desktop='HKCU\Control Panel\Desktop' runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'

user_key='HKCU\Software\Quorvane\Skylumen\Tessery' uninstall='"C:\Program Files\Tessary\uninstall.exe"'
trap '{ wine_kill tessary.scr; wine reg delete "$user_key" /f; wine reg delete "$desktop" /v SCRNSAVE.EXE /f; } >/dev/null 2>&1; rm -rf "$work"' EXIT
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
"${0%/*}"/../../packaging/make-installer.sh "$WINEPREFIX/drive_c/arm64.exe" "$version" "$scr32" "$scr64" \
  "$tune" -DNATIVE_MACHINE=43620 || exit 1
wine reg add "$user_key" /v BlackHall /t REG_DWORD /d 0 /f >/dev/null 2>&1
check "/S installs" wine "$work/$setup" /S
check "the 64-bit saver is in the 64-bit system folder" cmp "$scr64" "$system64/tessary.scr"
check "the tune lies beside it" cmp "$tune" "$system64/${tune##*/}"
check "the uninstall entry names it, its version and its uninstaller" entries DisplayName Tessary \
  DisplayVersion "$version" UninstallString "$uninstall" QuietUninstallString "$uninstall /S" \
  URLInfoAbout "$(sed -n 's/^#define TESSARY_HOME_PAGE "\(.*\)"$/\1/p' "${0%/*}/../../src/config/config_ids.h")"

# As Windows starts it: a 64-bit process from the 64-bit system folder.
(cd "$work" && /usr/lib/wine/wine64 'C:\windows\system32\tessary.scr' /s >/dev/null 2>&1) &
running() { probe activate SkylumenClass 1000; [ "$(probe display-mode)" = 640x480 ]; }
check "the installed saver takes the screen at 640x480" retry running
xdotool mousemove 300 300 click 1
check "a click ends it" wine "$probe_exe" wait-gone SkylumenClass 15000

# An older copy in use (its settings open): the install fails and changes nothing.
printf old >>"$system64/tessary.scr" && cp "$system64/tessary.scr" "$work/old.scr"
wine reg add "$key" /reg:64 /v DisplayVersion /d 0.9 /f >/dev/null 2>&1
(cd "$work" && exec /usr/lib/wine/wine64 'C:\windows\system32\tessary.scr' /c >/dev/null 2>&1) &
in_use() { [ -n "$(wine_processes tessary.scr)" ]; }
retry in_use
check "/S over a saver in use fails" eval '! wine "$work/$setup" /S'
check "... and leaves the old copy and its entry" eval 'cmp -s "$work/old.scr" "$system64/tessary.scr" && entries DisplayVersion 0.9'
# Uninstalled in use: the saver goes at the restart, the entry with it.
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\tessary.scr' /f >/dev/null 2>&1
wine "$folder/uninstall.exe" /S
scrnsave() { wine reg query "$desktop" /v SCRNSAVE.EXE 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
check "/S uninstalls, clearing the user's choice of this saver" retry eval '[ -z "$(scrnsave)" ]'
check "... keeps the saver in use and the entry until the restart" eval '[ -e "$system64/tessary.scr" ] && entries &&
  wine reg query "$runonce" /reg:64 /v Tessary | grep -qF "$uninstall /S"'
wine_kill tessary.scr
check "... and refuses an install until then, which the restart would undo" eval '! wine "$work/$setup" /S'
wine wineboot -r >/dev/null 2>&1
gone() { [ ! -e "$system64/tessary.scr" ] && [ ! -e "$system64/${tune##*/}" ] && [ ! -e "$folder" ] && ! entries; }
check "after it the saver, the tune, the uninstaller and the entry are gone" retry gone

# ARM64, into a folder that /D names (raw, as cmd passes it: no quotes).
folder="$WINEPREFIX/drive_c/Some Place/Tessary" uninstall='"C:\Some Place\Tessary\uninstall.exe"'
check "/S /D installs for ARM64" wine cmd /c 'C:\arm64.exe /S /D=C:\Some Place\Tessary'
check "... the x86 build, the uninstaller where /D said" eval 'cmp -s "$scr32" "$system64/tessary.scr" &&
  entries UninstallString "$uninstall"'
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
check "/S uninstalls" wine "$folder/uninstall.exe" /S
check "the saver, the tune, the uninstaller and the entry are gone" retry gone
check "another saver stays the user's choice" [ "$(scrnsave)" = 'C:\windows\system32\other.scr' ]
check "the user's settings stay" grep -q 'BlackHall *REG_DWORD *0x0' <(wine reg query "$user_key")
[ "$failed" -eq 0 ]
