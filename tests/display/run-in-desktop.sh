#!/bin/sh
# Runs a Windows program inside a Wine virtual desktop of its own, where
# DirectDraw can take the screen in any mode, and exits with the program's
# own status. Explorer, which hosts the desktop, does not pass that status
# on, so the program writes it to the file named by --status-file=PATH.
#
#   run-in-desktop.sh PROGRAM [ARGS...]
#
# Expects the environment that scripts/wine-env prepares (WINEPREFIX, DISPLAY
# of a private Xvfb, LANG, WINEDEBUG, WINEDLLOVERRIDES, a running
# wineserver). TESSARY_DESKTOP_TIMEOUT sets the hard limit in seconds (120).
set -u
if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM [ARGS...]" >&2
  exit 2
fi
program=$1
shift
: "${WINEPREFIX:?run inside the environment of scripts/wine-env}"
: "${DISPLAY:?run inside the environment of scripts/wine-env}"

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-desktop.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT INT TERM
# winepath is also the first Wine program of a fresh server, if it is one:
# the services it starts keep its standard error open for good, so that must
# not be ours (ctest would wait on it).
status_file=$(winepath -w "$work/status" 2>/dev/null)
[ -n "$status_file" ] || status_file="Z:$(printf '%s' "$work/status" | tr / '\\')"

timeout -k 5 "${TESSARY_DESKTOP_TIMEOUT:-120}" \
  wine explorer "/desktop=tessary-test-$$,1024x768" "$program" "$@" "--status-file=$status_file"
explorer_status=$?

if [ -s "$work/status" ]; then
  status=$(tr -dc '0-9' <"$work/status")
  exit "${status:-1}"
fi
if [ "$explorer_status" -eq 124 ] || [ "$explorer_status" -eq 137 ]; then
  echo "run-in-desktop: $program did not finish within ${TESSARY_DESKTOP_TIMEOUT:-120} s" >&2
else
  echo "run-in-desktop: $program left no status (explorer exited with $explorer_status)" >&2
fi
exit 1
