#!/usr/bin/env bash
# CPU time of tessary-x11 -root and of its X server (Xvfb) while the show
# runs at its default 60 frames a second, from /proc (user + system time of
# each process, so the load of other programs hardly counts), as percent of
# one core; one private Xvfb per screen size:
#   x11_cpu.sh TESSARY_X11 SECONDS WxH...
set -uo pipefail
hack=$1 seconds=$2; shift 2
tick=$(getconf CLK_TCK)
cpu() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }  # utime + stime
for size in "$@"; do
  fd=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fd" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$fd" ] && break; sleep 0.1; done
  DISPLAY=:$(cat "$fd") "$hack" -root &
  show=$!
  sleep 3  # past the start
  h0=$(cpu $show) x0=$(cpu $xvfb) t0=$(date +%s.%N)
  sleep "$seconds"
  h1=$(cpu $show) x1=$(cpu $xvfb) t1=$(date +%s.%N)
  kill $show; wait $show; kill $xvfb; wait $xvfb 2>/dev/null
  rm -f "$fd"
  awk -v s="$size" -v h="$((h1 - h0))" -v x="$((x1 - x0))" -v t0="$t0" -v t1="$t1" -v k="$tick" \
    'BEGIN { t = t1 - t0; printf "%-10s tessary-x11 %5.1f%%  Xvfb %5.1f%%  together %5.1f%% of one core over %.1f s\n",
             s, 100 * h / k / t, 100 * x / k / t, 100 * (h + x) / k / t, t }'
done
