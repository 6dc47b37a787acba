#!/bin/sh
# Without a display the program says so in one line and exits with 1,
# whichever way the display is missing; the toolkit's abort (status 134, a
# core dump, several lines) is a failure.
exe="$1"
fail=0
check() {
    err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u DISPLAY "$@" timeout 20 "$exe" 2>&1 >/dev/null)
    rc=$?
    lines=$(printf '%s\n' "$err" | wc -l)
    if [ "$rc" -ne 1 ] || [ "$lines" -ne 1 ] || ! printf '%s' "$err" | grep -q 'xvfb-run'; then
        echo "$*: status $rc, $lines lines:"; printf '%s\n' "$err"; fail=1
    fi
}
check DISPLAY=:219.0                                   # no server there
check                                                  # no DISPLAY at all
check DISPLAY=nonsense
check WAYLAND_DISPLAY=wayland-nope                     # no compositor, no X
check XDG_SESSION_TYPE=wayland XDG_RUNTIME_DIR=/nonexistent
check QT_QPA_PLATFORM='wayland;xcb' WAYLAND_DISPLAY=wayland-nope DISPLAY=:219

# A server that answers but has no such screen (":N.7").
if command -v Xvfb >/dev/null 2>&1; then
    n=218
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n - 1)); done
    Xvfb :$n -noreset >/dev/null 2>&1 &
    server=$!
    i=0
    while [ ! -e /tmp/.X11-unix/X$n ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    check DISPLAY=:$n.7
    kill $server
else
    echo "no Xvfb: the missing-screen case is not checked"
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
exit $fail
