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
# --help and --version print on standard output and exit with 0, display or not.
for option in --help --version; do
    out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:219.0 timeout 20 "$exe" $option 2>/dev/null)
    rc=$?
    case "$option:$out" in
        --help:Usage:\ lunvelde*|--version:lunvelde\ [0-9]*) [ "$rc" -eq 0 ] || { echo "$option: status $rc"; exit 1; } ;;
        *) echo "$option: status $rc, printed '$out'"; exit 1 ;;
    esac
done
