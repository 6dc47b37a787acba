#!/bin/sh
# Starts the program from its run folder, which holds its working files: the
# sample site list is put there only when there is no site list yet, so a file
# the user has edited is never overwritten; the help file is kept current.
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
run="$build/run"
mkdir -p "$run"
[ -e "$run/obspoint.txt" ] || cp "$top/resources/obspoint.txt" "$run/obspoint.txt" 2>/dev/null
cmp -s "$top/help/lunvelde.chm" "$run/lunvelde.chm" || cp "$top/help/lunvelde.chm" "$run/lunvelde.chm"
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display available: start the program under Xvfb, for example:  xvfb-run -a make run"
  exit 1
fi
cd "$run" && exec ../lunvelde
