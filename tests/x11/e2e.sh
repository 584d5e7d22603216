#!/usr/bin/env bash
# tessary-x11 end to end, as a throw-away user (the daemon launches no hacks
# for root, so the test must run as root), removed at the end with its
# processes and files:
#   - the Debian package made from the build (packaging/make-deb.sh),
#     installed, offered in XScreenSaver's list, and run from XScreenSaver's
#     hack folder by the real daemon on a 1920x1080 screen; then removed,
#     leaving XScreenSaver's settings as they were;
#   - -root on a screen of depth 16;
#   - a window of the settings preview's size (505x282) given by -window-id;
#   - its own window: -window -geometry 400x300 on a background by colour name.
# Each shows this month's page, whole, scaled to fit (x11_probe).
#   e2e.sh TESSARY_X11 X11_PROBE BUILD_DIR
set -u
user=tessary-e2e-$$ dir=$(mktemp -d) display= installed=
ad=/etc/X11/app-defaults/XScreenSaver
cleanup() {
  pkill -KILL -u "$user"; wait; userdel "$user"
  [ -z "$installed" ] || apt-get purge -y -qq -o DPkg::Lock::Timeout=600 tessary-x11 >/dev/null
  rm -rf "$dir"
} 2>/dev/null
trap cleanup EXIT
fail() { echo "x11-e2e: $*"; tail -n 5 "$dir/daemon.log" 2>&1; exit 1; }
wait_for() {  # SECONDS COMMAND...: until COMMAND succeeds
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.2; done
}
on() { local d=$1; shift; runuser -u "$user" -- env -i HOME="$dir/home" PATH=/usr/bin:/bin DISPLAY=":$d" "$@"; }
as() { on "$display" "$@"; }
xvfb() {  # SCREEN FILE: a server of the user's, its number in FILE
  runuser -u "$user" -- Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$2" 2>/dev/null &
  wait_for 60 test -s "$2" || fail "Xvfb $1 did not start"
}
running() { pgrep -u "$user" -f "^$1" >/dev/null; }
# This month, worked out by date(1): number, weekday of the 1st, days.
first=$(date +%Y-%m-01)
page="$(date -d "$first" '+%-m %w') $(date -d "$first +1 month -1 day" +%-d)"

chmod 755 "$dir" && install -m 755 "$1" "$2" "$dir/" && mkdir "$dir/home"
useradd -M -d "$dir/home" -s /bin/sh "$user" && chown "$user:" "$dir/home" || fail "no user (run as root)"

# One run at a time on this machine installs the package; one installed by
# someone else is never replaced.
exec 9>/run/lock/tessary-x11-e2e.lock && flock -w 600 9 || fail "no lock on /run/lock/tessary-x11-e2e.lock"
! dpkg-query -W -f='${Status}' tessary-x11 2>/dev/null | grep -q installed ||
  fail "the tessary-x11 package is installed on this machine: the test will not replace it (apt purge tessary-x11 first)"
link=$(readlink "$ad")
"$(dirname "$0")/../../packaging/make-deb.sh" "$3" "$dir/deb" >"$dir/deb.out" || fail "no package"
deb=$(tail -n 1 "$dir/deb.out")
chmod -R a+rX "$dir/deb"
installed=yes
apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "$deb" >"$dir/apt.log" 2>&1 ||
  { cat "$dir/apt.log"; fail "the package did not install"; }
[ -x /usr/libexec/xscreensaver/tessary-x11 ] && [ -f /usr/share/xscreensaver/config/tessary-x11.xml ] &&
  [ -f /usr/share/man/man6/tessary-x11.6.gz ] || fail "the package misses files"

xvfb 1920x1080x24 "$dir/display" && display=$(cat "$dir/display")
xvfb 800x600x16 "$dir/display16" && display16=$(cat "$dir/display16")
# XScreenSaver's list, as xscreensaver-settings reads it, offers Tessary; the
# user's list runs it by name from the hack folder.
as appres XScreenSaver | grep -q 'tessary-x11 --root' || fail "XScreenSaver's list does not offer tessary-x11"
printf '%s\n' 'mode: one' 'selected: 0' 'fade: False' 'unfade: False' \
  "programs: tessary-x11 --root -process 200 -no-big-bang" >"$dir/home/.xscreensaver"
as xscreensaver -no-splash >"$dir/daemon.log" 2>&1 &
on "$display16" "$dir/tessary-x11" -root -process 200 -no-big-bang &
as "$dir/x11_probe" window 505 282 >"$dir/window" 2>/dev/null &
wait_for 10 test -s "$dir/window" || fail "no test window"
as "$dir/tessary-x11" -window-id "$(cat "$dir/window")" -process 200 -no-big-bang & hack=$!
as "$dir/tessary-x11" -window -geometry 400x300+600+0 -bg navy -process 200 -no-big-bang &
own=$(as xdotool search --sync --name '^Tessary$' | head -n 1)
as xdotool getwindowgeometry "$own" | grep -q 'Geometry: 400x300' || fail "-geometry 400x300 not kept"
# The windows are looked at before the daemon covers the screen.
on "$display16" "$dir/x11_probe" page root 60 $page >"$dir/probe16" & probe16=$!
as "$dir/x11_probe" page "$(cat "$dir/window")" 60 $page >"$dir/probe-preview" & preview=$!
as "$dir/x11_probe" page "$own" 60 $page 000080 || fail "no page on navy in the own window"
wait $preview || fail "no page in the 505x282 window: $(cat "$dir/probe-preview")"
wait $probe16 || fail "no page on the depth-16 screen: $(cat "$dir/probe16")"

wait_for 60 as xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon did not start"
as "$dir/x11_probe" page root 60 $page || fail "no page on the 1920x1080 screen"
pgrep -u "$user" -f '^tessary-x11 --root' >/dev/null || fail "the daemon did not run the hack from its folder"
as "$dir/tessary-x11" -bg no-such-colour 2>"$dir/err"
[ $? -eq 2 ] && grep -q "no colour named 'no-such-colour'" "$dir/err" || fail "an unknown colour name did not exit 2"

as xscreensaver-command -deactivate >/dev/null 2>&1
wait_for 10 eval '! running "tessary-x11 --root"' || fail "tessary-x11 still runs after the daemon deactivated"
pkill -TERM -u "$user" -f "^$dir/tessary-x11"
wait_for 5 eval '! running "$dir/tessary-x11"' || fail "tessary-x11 still runs 5 s after SIGTERM"
wait "$hack" || fail "tessary-x11 exited with $? after SIGTERM"

# Removed, it leaves XScreenSaver's app-defaults link as it found it.
installed=
apt-get purge -y -qq -o DPkg::Lock::Timeout=600 tessary-x11 >/dev/null 2>&1 || fail "the package did not uninstall"
[ "$(readlink "$ad")" = "$link" ] || fail "$ad is not the link to $link again"
