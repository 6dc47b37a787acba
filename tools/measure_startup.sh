#!/bin/sh
# Start-up figures of the program: time from process start to the first
# painted main window, and resident memory at that moment. Runs the program N
# times with LUNVELDE_QUIT_AFTER_FIRST_PAINT=1 (the program reports and quits
# after its first paint; message boxes go to standard error instead of the
# screen), on the offscreen platform and, when Xvfb is installed, on a private
# X server. Prints the median of each figure.
#
#   tools/measure_startup.sh [build folder] [runs]
#
# Each run has a fresh working folder (holding a copy of resources/obspoint.txt
# when it exists) and a fresh settings folder, so nothing of the user's is read
# or written.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${2:-15}
exe=$(cd "$build" && pwd)/lunvelde
[ -x "$exe" ] || { echo "no program at $exe (build it first)"; exit 1; }

scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

median() {  # figures on standard input, one a line
  sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# run_series <label> <environment assignments...>
run_series() {
  label=$1; shift
  : > "$scratch/figures"
  i=0
  while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    work="$scratch/work$i"; mkdir -p "$work/config"
    [ -f "$top/resources/obspoint.txt" ] && cp "$top/resources/obspoint.txt" "$work/"
    ( cd "$work" && env "$@" XDG_CONFIG_HOME="$work/config" LUNVELDE_QUIT_AFTER_FIRST_PAINT=1 \
        timeout 20 "$exe" 2>/dev/null ) >> "$scratch/figures" || echo "run $i failed" >&2
    rm -rf "$work"
  done
  start=$(awk '$1 == "startup_ms_since_process_start" { print $2 }' "$scratch/figures" | median)
  main=$(awk '$1 == "startup_ms_since_main" { print $2 }' "$scratch/figures" | median)
  rss=$(awk '$1 == "rss_kb" { print $2 }' "$scratch/figures" | median)
  count=$(grep -c '^rss_kb' "$scratch/figures" || true)
  printf '%-10s runs %2s  first paint %6s ms after process start (%s ms after main)  RSS %s kB\n' \
    "$label" "$count" "$start" "$main" "$rss"
}

run_series offscreen QT_QPA_PLATFORM=offscreen

if command -v Xvfb >/dev/null 2>&1; then
  # Let Xvfb choose a free display number and tell it on a pipe.
  mkfifo "$scratch/displayfd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/displayfd" >/dev/null 2>&1 &
  xvfb_pid=$!
  display=$(head -n 1 "$scratch/displayfd")
  run_series xvfb QT_QPA_PLATFORM=xcb DISPLAY=":$display"
else
  echo "xvfb      not installed: skipped"
fi
