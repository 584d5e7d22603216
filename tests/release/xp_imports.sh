#!/usr/bin/env bash
# The 32-bit tessary.scr starts on Windows XP SP3: its image asks for
# Windows 5.01, it imports none of the Vista-or-later functions listed in
# vista_imports.txt (everything newer is looked up at run time), and it
# holds no SSE code. No Wine needed.
#   tests/release/xp_imports.sh tessary.scr
set -uo pipefail
dump=$(i686-w64-mingw32-objdump -p "$1") || exit 1
imports=$(sed -n -E 's/^\t[0-9a-f]+\t +[0-9]+ +([A-Za-z_][A-Za-z0-9_]*)$/\1/p' <<<"$dump")
bad=$(grep -xEf "${0%/*}/vista_imports.txt" <<<"$imports")
[ -n "$imports" ] && [ -z "$bad" ] || { echo "FAIL imports that Windows XP lacks (or none read):" $bad; exit 1; }
version=$(awk '/^M(aj|in)or(Subsystem|OSystem)Version/ { printf "%s ", $2 }' <<<"$dump")
[ "$version" = "5 1 5 1 " ] || { echo "FAIL OS and subsystem versions $version, not 5.1 (XP)"; exit 1; }
sse=$(i686-w64-mingw32-objdump -d "$1" | grep -c '%xmm')
[ "$sse" -eq 0 ] || { echo "FAIL $sse instructions use SSE registers"; exit 1; }
echo "ok   $(wc -l <<<"$imports") imports, all in Windows XP; OS and subsystem 5.1; no SSE"
