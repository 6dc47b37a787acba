#!/bin/sh
# Starts the program from its run folder, which holds the working files.
build=${1:-build}
run="$build/run"
mkdir -p "$run"
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display available: start it under Xvfb, e.g.  xvfb-run -a make run"
  exit 1
fi
cd "$run" && exec ../lunvelde
