#!/bin/sh
# Without a display the program says so in one line and exits with 1; the
# toolkit's abort (status 134, a core dump) is a failure.
exe="$1"
err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:219.0 timeout 20 "$exe" 2>&1 >/dev/null)
rc=$?
lines=$(printf '%s\n' "$err" | wc -l)
if [ "$rc" -ne 1 ] || [ "$lines" -ne 1 ] || ! printf '%s' "$err" | grep -q 'xvfb-run'; then
    echo "status $rc, $lines lines:"; printf '%s\n' "$err"; exit 1
fi
