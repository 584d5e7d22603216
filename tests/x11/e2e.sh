#!/usr/bin/env bash
# tessary-x11 under the real XScreenSaver daemon in Xvfb, and drawing into a
# window of the test's own. The daemon launches no hacks for root, so all of
# it runs as a throw-away user (the test must run as root), removed at the
# end with its processes and files.
#   e2e.sh TESSARY_X11 X11_PROBE
set -u
user=tessary-e2e-$$ dir=$(mktemp -d) display=
cleanup() { pkill -KILL -u "$user"; wait; userdel "$user"; rm -rf "$dir"; } 2>/dev/null
trap cleanup EXIT
fail() { echo "x11-e2e: $*"; tail -n 5 "$dir/daemon.log" 2>&1; exit 1; }
wait_for() {  # SECONDS COMMAND...: until COMMAND succeeds
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.2; done
}
as() { runuser -u "$user" -- env -i HOME="$dir/home" PATH=/usr/bin:/bin DISPLAY=":$display" "$@"; }
running() { pgrep -u "$user" -x tessary-x11 >/dev/null; }
# This month, worked out by date(1): number, weekday of the 1st, days.
first=$(date +%Y-%m-01)
page="$(date -d "$first" '+%-m %w') $(date -d "$first +1 month -1 day" +%-d)"

chmod 755 "$dir" && install -m 755 "$1" "$2" "$dir/" && mkdir "$dir/home"
useradd -M -d "$dir/home" -s /bin/sh "$user" && chown "$user:" "$dir/home" || fail "no user (run as root)"
printf '%s\n' 'mode: one' 'selected: 0' 'fade: False' 'unfade: False' \
  "programs: $dir/tessary-x11 -root -process 200 -no-big-bang" >"$dir/home/.xscreensaver"
runuser -u "$user" -- Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
wait_for 60 test -s "$dir/display" || fail "Xvfb did not start"
display=$(cat "$dir/display")

as xscreensaver -no-splash >"$dir/daemon.log" 2>&1 &
wait_for 60 as xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon did not start"
as "$dir/x11_probe" page root 60 $page || fail "this month's page did not show on the screen"
as xscreensaver-command -deactivate >/dev/null 2>&1
wait_for 10 eval '! running' || fail "tessary-x11 still runs after the daemon deactivated"

as "$dir/x11_probe" window 800 600 >"$dir/window" 2>/dev/null &
wait_for 10 test -s "$dir/window" || fail "no test window"
as "$dir/tessary-x11" -window-id "$(cat "$dir/window")" -process 200 -no-big-bang &
hack=$!
as "$dir/x11_probe" page "$(cat "$dir/window")" 60 $page || fail "no page in the test's window"
pkill -TERM -u "$user" -x tessary-x11
wait_for 5 eval '! running' || fail "tessary-x11 still runs 5 s after SIGTERM"
wait "$hack" || fail "tessary-x11 exited with $? after SIGTERM"
