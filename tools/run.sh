#!/bin/sh
# Starts the program from its run folder, which holds its working files: the
# site list and the help file are put there only when they are not there yet,
# so a file the user has edited is never overwritten.
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
run="$build/run"
mkdir -p "$run"
[ -e "$run/obspoint.txt" ] || cp "$top/resources/obspoint.txt" "$run/obspoint.txt" 2>/dev/null
[ -e "$run/lunvelde.chm" ] || cp "$top/help/lunvelde.chm" "$run/lunvelde.chm" 2>/dev/null
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display available: start the program under Xvfb, for example:  xvfb-run -a make run"
  exit 1
fi
cd "$run" && exec ../lunvelde
