#!/usr/bin/env bash
# End-to-end tests of the real tessary.scr under Wine, in the virtual desktop
# and the Xvfb display that scripts/test prepared (WINEPREFIX, DISPLAY), with
# real input from xdotool. Arguments: the paths of tessary.scr, the probe,
# the stand-in password.cpl and mpr.dll, and the "Netscape" window program.
set -u
scr=$1 probe_exe=$2 password_cpl=$3 mpr_dll=$4 netscape_exe=$5 tune=${6:-}
: "${WINEPREFIX:?}" "${DISPLAY:?}"

work=$(mktemp -d /tmp/tessary-e2e.XXXXXX)
passed=0 failed=0
kill_program() { wine taskkill /F /IM "$1" >/dev/null 2>&1; return 0; }
cleanup() {
  # Nothing of ours may outlive the run.
  kill_program tessary.scr
  kill_program netscape_window.exe
  rm -rf "$work"
}
trap cleanup EXIT

section() {  # a new group of checks starts with no saver left over
  echo "== $1"
  kill_program tessary.scr
}
check() {  # name, then a command that must succeed
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "  ok   $name"
  else failed=$((failed + 1)); echo "  FAIL $name"; fi
}
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
settings_key='HKCU\Software\Quorvane\Skylumen\Tessery'
set_setting() { wine reg add "$settings_key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
clear_settings() { wine reg delete 'HKCU\Software\Quorvane' /f >/dev/null 2>&1; return 0; }
set_password_flag() {
  wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_SZ /d "$1" /f \
    >/dev/null 2>&1
}

# A fresh program folder with the saver and its default tune in it (without
# a sound card the tune's MCI open fails, silently).
new_folder() {
  local dir="$work/$1"
  mkdir -p "$dir" && cp "$scr" "$dir/tessary.scr" || return 1
  [ -z "$tune" ] || cp "$tune" "$dir/" || return 1
  echo "$dir"
}
# Starts the saver in the background; its exit code lands in DIR/rc.
start_saver() {  # dir, arguments...
  local dir=$1; shift
  rm -f "$dir/rc"
  (cd "$dir" && wine tessary.scr "$@" >"$dir/out.log" 2>&1; echo $? >"$dir/rc") &
}
wait_exit() {  # dir, seconds: true once the saver has ended
  local dir=$1 tries=$(($2 * 10))
  while [ ! -s "$dir/rc" ] && [ $tries -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  [ -s "$dir/rc" ]
}
exit_code_is() { [ "$(cat "$1/rc" 2>/dev/null)" = "$2" ]; }
window_up() { probe wait-window SkylumenClass "${1:-20000}" >/dev/null; }
window_gone() { probe wait-gone SkylumenClass "${1:-20000}" >/dev/null; }
window_stays() { ! window_gone "$1"; }
no_window_for() { probe never-window SkylumenClass "$1" >/dev/null; }
# Width and height of the display mode (Wine reports the X server's depth).
mode_is() { [ "$(probe display-mode | cut -dx -f1,2)" = "$1" ]; }
# The saver has taken the screen in its mode. Wine's virtual desktop without a
# window manager sometimes leaves a new full-screen program inactive (and so
# minimised, in the desktop's mode); a user would click it to the front, and
# the probe does the same before the checks go on.
wait_running() {  # width x height
  local tries=100 seen
  probe activate SkylumenClass 20000 >/dev/null
  while [ $tries -gt 0 ]; do
    seen=$(probe display-mode | cut -dx -f1,2)
    [ "$seen" = "$1" ] && return 0
    [ $((tries % 10)) -eq 0 ] && probe activate SkylumenClass 1000 >/dev/null
    sleep 0.1; tries=$((tries - 1))
  done
  echo "       (the display mode stayed at '$seen')"
  return 1
}
# Non-black pixels of a snapshot file.
lit_pixels() { convert "$1" -threshold 0 -format '%[fx:round(mean*w*h)]' info: 2>/dev/null; }
snapshot_shows_digits() {  # dir, expected width x height
  local f="$1/tessary.bmp" tries=150 w=${2%x*} h=${2#*x}
  local size=$((54 + (3 * w + 3) / 4 * 4 * h))
  while [ "$(stat -c %s "$f" 2>/dev/null || echo 0)" != "$size" ] && [ $tries -gt 0 ]; do
    sleep 0.1; tries=$((tries - 1))
  done
  [ "$(identify -format '%wx%h' "$f" 2>/dev/null)" = "$2" ] && [ "$(lit_pixels "$f")" -gt 5000 ]
}
click() { xdotool mousemove 300 300 click 1; }
press() { xdotool mousemove 310 310 key "$1"; }

desktop_mode=$(probe display-mode | cut -dx -f1,2)
echo "e2e: desktop mode $desktop_mode"

section "run modes"
dir=$(new_folder modes)
probe never-window SkylumenClass 4000 >"$dir/probe" &
watcher=$!
start_saver "$dir" /p 1234
check "/p exits at once" wait_exit "$dir" 15
check "/p exit code 0" exit_code_is "$dir" 0
check "/p creates no window" wait "$watcher"
for args in "-s" "/x" ""; do
  start_saver "$dir" $args
  check "'$args' opens the settings dialog" probe press '#32770' '' 1 20000
  check "'$args' ends after Close" wait_exit "$dir" 20
  check "'$args' exit code 0" exit_code_is "$dir" 0
done
check "a configuration run never changes the display mode" mode_is "$desktop_mode"

section "saver run"
clear_settings
set_setting BlackHall 0
set_setting BigBang 0
dir=$(new_folder saver)
start_saver "$dir" /s
check "the saver window appears" window_up
check "the display switches to 640x480 while it runs" wait_running 640x480
second=$(new_folder second)
start_saver "$second" /s
check "a second /s exits at once" wait_exit "$second" 15
check "the second run's exit code is 0" exit_code_is "$second" 0
press F10
check "F10 writes a 640x480 snapshot with digits" snapshot_shows_digits "$dir" 640x480
check "F10 does not end the saver" window_up 500
click
check "a click ends the saver at once without the black hole" window_gone 1500
check "it exits with 0" wait_exit "$dir" 15
check "exit code 0" exit_code_is "$dir" 0
check "the desktop mode is back" mode_is "$desktop_mode"

section "black hole"
set_setting BlackHall 1
set_setting Process 2000
dir=$(new_folder blackhole)
start_saver "$dir" /s
check "the saver window appears" window_up
check "the show is running" wait_running 640x480
click
check "the window stays while the digits fall in" window_stays 1000
check "the window closes two ticks after the click" window_gone 8000
wait_exit "$dir" 15
check "exit code 0" exit_code_is "$dir" 0
clear_settings

section "start-up restrictions"
(cd "$work" && wine "$netscape_exe" >/dev/null 2>&1) &
check "the browser window is up" probe wait-window TessaryTestBrowser 20000
set_setting NetScapeCheck 1
dir=$(new_folder netscape)
start_saver "$dir" /s
check "with NetScapeCheck the saver does not start" wait_exit "$dir" 15
check "exit code 0" exit_code_is "$dir" 0
check "and it made no window" no_window_for 500
set_setting NetScapeCheck 0
start_saver "$dir" /s
check "without the check it starts" window_up
# The browser's window may hold the foreground; it goes before the input.
kill_program netscape_window.exe
check "and takes the screen" wait_running 640x480
click
check "and ends on a click" wait_exit "$dir" 15
clear_settings

section "display failure"
# Wine's DirectDraw takes any depth at 640x480 but refuses sizes it does not know.
set_setting xScreenSize 641
dir=$(new_folder depth)
start_saver "$dir" /s
box=$(probe answer-box 'DirectX Tessary' 1 20000)
check "a refused mode shows code 7" [ "$box" = $'DirectDraw Initializaition Failed!\nError Code is 7' ]
check "after OK the program exits" wait_exit "$dir" 15
check "exit code 0" exit_code_is "$dir" 0
check "the desktop mode is back" mode_is "$desktop_mode"
clear_settings

section "password"
# The stand-ins go into the 32-bit system folder, the only place the saver
# loads the password libraries from; what they replace comes back after.
system_dir=$WINEPREFIX/drive_c/windows/syswow64
plant() { [ ! -e "$system_dir/$2" ] || mv "$system_dir/$2" "$work/$2.system"; cp "$1" "$system_dir/$2"; }
unplant() { rm -f "$system_dir/$1" && [ ! -e "$work/$1.system" ] || mv "$work/$1.system" "$system_dir/$1"; }
set_password_flag 1
dir=$(new_folder password)
plant "$password_cpl" password.cpl
printf '01' >"$dir/password-answers.txt"
set_setting BigBang 0
set_setting BlackHall 0
start_saver "$dir" /s
check "the saver window appears" window_up
check "the show is running" wait_running 640x480
click
refused() { local t=100; while ! grep -q refuse "$dir/password.log" 2>/dev/null; do
  sleep 0.1; t=$((t - 1)); [ $t -gt 0 ] || return 1; done; }
check "the password is asked" refused
check "a refused password keeps the saver" window_up 1000
rm -f "$dir/tessary.bmp"
press F10
check "frames resume after the refusal" snapshot_shows_digits "$dir" 640x480
click
check "an accepted password closes it" window_gone 15000
wait_exit "$dir" 15
check "exit code 0" exit_code_is "$dir" 0
check "the check was asked twice" [ "$(grep -c verify "$dir/password.log")" = 2 ]
unplant password.cpl

# A password.cpl in the program's folder and in the current folder, none in
# the system folder: neither is loaded (it would log to the current folder).
dir=$(new_folder nopassword) here=$work/elsewhere
mkdir -p "$here" && cp "$password_cpl" "$dir/" && cp "$password_cpl" "$here/"
(cd "$here" && wine "$dir/tessary.scr" /s >/dev/null 2>&1; echo $? >"$dir/rc") &
check "without password.cpl in the system folder the saver window appears" window_up
check "the show is running" wait_running 640x480
click
check "and a click closes it as if no password were set" window_gone 5000
wait_exit "$dir" 15
check "neither password.cpl was loaded" [ ! -e "$here/password.log" ]
set_password_flag 0
clear_settings

section "settings dialog"
clear_settings
dialog='Tessary Screen Saver(DirectX)'
setting_is() {  # name, value as reg prints it (0x1)
  wine reg query "$settings_key" /v "$1" 2>/dev/null | tr -d '\r' | grep -q "REG_DWORD *$2\$"
}
click_control() {  # control id: a real click on it
  local xy
  xy=$(probe centre '#32770' "$dialog" "$1" 20000) || return 1
  xdotool mousemove ${xy% *} ${xy#* } click 1
}
dir=$(new_folder dialog)
start_saver "$dir" /c
check "the dialog comes up over the saver window" click_control 1007
check "the window behind it is the saver's" window_up 1000
check "a second check box takes a click" click_control 1015
setting_absent() { ! wine reg query "$settings_key" /v "$1" >/dev/null 2>&1; }
check "nothing is stored before Close" setting_absent FPS
check "Close takes a click" click_control 1
check "the run ends" wait_exit "$dir" 20
check "exit code 0" exit_code_is "$dir" 0
check "the clicked boxes are stored" setting_is FPS 0x1
check "the clicked boxes are stored" setting_is Kasoku 0x1
check "the others keep their values" setting_is BigBang 0x1

# The Internet button: Yes ends the dialog and the shell opens the home page
# (a stand-in browser records the address it was given).
url_file="$dir/url.txt"
wine reg add 'HKCR\http\shell\open\command' /ve /f /d \
  "\"$(winepath -w "$probe_exe")\" record \"$(winepath -w "$url_file")\" \"%1\"" >/dev/null 2>&1
start_saver "$dir" /c
check "the Internet button takes a click" click_control 2
question=$(probe answer-box 'インターネットにジャンプ' 6 20000)
check "the question names the home page" grep -q 'http://www.tessary.example/' <<<"$question"
check "Yes ends the run" wait_exit "$dir" 20
check "exit code 0" exit_code_is "$dir" 0
opened() {  # the stand-in browser runs on its own: wait for its record
  local tries=100
  while [ ! -s "$url_file" ] && [ $tries -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  grep -qx 'http://www.tessary.example/' "$url_file"
}
check "the home page was opened" opened
clear_settings

section "password change"
dir=$(new_folder change)
plant "$mpr_dll" mpr.dll
rm -f "$dir/rc"
(cd "$dir" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=n,b" wine tessary.scr /a 0 \
  >"$dir/out.log" 2>&1; echo $? >"$dir/rc") &
check "/a 0 ends" wait_exit "$dir" 20
check "exit code 0" exit_code_is "$dir" 0
check "the password change was asked for SCRSAVE with no parent" \
  grep -q '^SCRSAVE parent=0 0 ' "$dir/mpr.log"
check "no window was made" no_window_for 300
unplant mpr.dll

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
